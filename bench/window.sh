#!/usr/bin/env bash
# The main window: "Open Velmor" (a second launch asks the running program to show it) until
# the window is on the screen, seen from outside and, inside the running program, from the
# request to the window's first paint (VELMOR_BENCH=1); the program's memory before opening,
# with the window open and after closing it; and how long a section change takes to paint.
#   bench/window.sh [BUILD_DIR]
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/desktop.sh
velmor=$(find_built velmor "${1:-}") || exit 1
shots=$(find_built velmor-window-shots "${1:-}") || exit 1

start_xvfb 1920x1080
start_window_manager_and_compositor
start_session_bus
use_private_home

# Closing as the user does: the window manager's close (Alt+F4 in openbox).
close_window() { xdotool windowactivate --sync "$1" key --clearmodifiers alt+F4; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }

VELMOR_BENCH=1 "$velmor" >"$desktop_work/velmor.log" 2>&1 &
pid=$!
desktop_pids+=($pid)
# Without a tray host the first launch opens the window itself: wait for it, then close it.
xdotool search --sync --name '^Velmor$' >/dev/null
sleep 1
window=$(xdotool search --name '^Velmor$' | head -1)
close_window "$window"
sleep 1
before=$(rss $pid)

opens=()
for i in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$velmor" >/dev/null 2>&1
  xdotool search --sync --onlyvisible --name '^Velmor$' >/dev/null
  end=$(date +%s%N)
  opens+=($(( (end - start) / 1000000 )))
  sleep 0.5
  open=$(rss $pid)
  window=$(xdotool search --onlyvisible --name '^Velmor$' | head -1)
  close_window "$window"
  for _ in $(seq 50); do xdotool search --onlyvisible --name '^Velmor$' >/dev/null || break; sleep 0.1; done
  sleep 0.5
done
after=$(rss $pid)
sorted=$(printf '%s\n' "${opens[@]}" | sort -n | tr '\n' ' ')
echo "open Velmor to window shown (second launch, ms): $sorted"
inside=$(awk '/^bench: window painted/ {print $4}' "$desktop_work/velmor.log" | sort -n | tr '\n' ' ')
echo "request to window painted, inside the program (ms; target < 150): $inside"
echo "RSS before opening: ${before} kB, window open: ${open} kB, after closing: ${after} kB"
kill $pid 2>/dev/null
"$shots" --bench light
