#!/usr/bin/env bash
# Measures one full overlay cycle (fade-in, a key press at 8 s, fade-out, removal) on a 3840x2160
# Xvfb screen with openbox and xcompmgr, and prints: process CPU time of the cycle, full-window
# repaints after the first frame, present-to-mapped time and key-press-to-fade-out time.
#   bench/overlay-cycle.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build_dir=${1:-}
runs=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/scripts/lib/desktop.sh"
preview=$(find_built velmor-overlay-preview "$build_dir")

start_xvfb 3840x2160
use_private_home
start_window_manager_and_compositor

# A session bus as on a desktop: without one, Qt's accessibility start-up waits for X11
# autolaunch of a bus on the first widget that gets an accessible name.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
for run in $(seq "$runs"); do
  echo "run $run:"
  "${session[@]}" "$preview" --bench 2>/dev/null | sed 's/^/  /'
done
