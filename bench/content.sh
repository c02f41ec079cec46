#!/usr/bin/env bash
# Content rules at a large library: prompt draw, library load and save.
set -euo pipefail
build_dir=${1:-build}
"$build_dir/bench/content_bench"
