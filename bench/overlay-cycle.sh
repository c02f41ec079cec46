#!/usr/bin/env bash
# Measures one full overlay cycle (fade-in, a key press at 8 s, fade-out, removal) on a 3840x2160
# Xvfb screen with openbox and xcompmgr, and prints: CPU time of the cycle for Velmor, the X
# server and the compositor, full-window repaints after the first frame, present-to-mapped time
# and key-press-to-fade-out time.
#   bench/overlay-cycle.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build_dir=${1:-}
runs=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/scripts/lib/desktop.sh"
source "$root/bench/lib/process.sh"
preview=$(find_built velmor-overlay-preview "$build_dir")

start_xvfb 3840x2160
xserver=${desktop_pids[-1]}
use_private_home
start_window_manager_and_compositor
compositor=${desktop_pids[-1]}

ms() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.0f", 1000 * t / hz}'; }

# A session bus as on a desktop: without one, Qt's accessibility start-up waits for X11
# autolaunch of a bus on the first widget that gets an accessible name.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
for run in $(seq "$runs"); do
  echo "run $run:"
  x0=$(process_ticks "$xserver"); c0=$(process_ticks "$compositor")
  "${session[@]}" "$preview" --bench 2>/dev/null | sed 's/^/  /'
  x1=$(process_ticks "$xserver"); c1=$(process_ticks "$compositor")
  # The X server and the compositor are idle around the run: their whole share is the cycle's.
  echo "  X server CPU time over the run: $(ms $((x1 - x0))) ms"
  echo "  compositor (xcompmgr) CPU time over the run: $(ms $((c1 - c0))) ms"
done
