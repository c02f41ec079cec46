#!/usr/bin/env bash
# The content library at 10,000 prompts of the user's own and 1,000 favourites, on Xvfb:
# time to show "Yours" and a category, one scroll step, adding a prompt, memory.
#   bench/library.sh [BUILD_DIR]
set -euo pipefail
build_dir=${1:-}
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/desktop.sh"
bench=$(find_built bench/library_bench "$build_dir")
start_xvfb 1920x1080
use_private_home
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
"${session[@]}" "$bench" 2>/dev/null
