#!/usr/bin/env bash
# Measures one full overlay cycle (fade-in, a key press at 8 s, fade-out, removal) on a 3840x2160
# Xvfb screen with openbox and xcompmgr, and prints: process CPU time of the cycle, full-window
# repaints after the first frame, present-to-mapped time and key-press-to-fade-out time.
#   bench/overlay-cycle.sh [RUNS]   (the preview program is looked for like the screenshot script)
set -euo pipefail
runs=${1:-3}
root=$(cd "$(dirname "$0")/.." && pwd)

preview=""
for dir in "${VELMOR_BUILD_DIR:-}" "$root/build" "$root/build-overlay"; do
  if [ -n "$dir" ] && [ -x "$dir/velmor-overlay-preview" ]; then
    preview="$dir/velmor-overlay-preview"
    break
  fi
done
[ -n "$preview" ] || { echo "velmor-overlay-preview is not built"; exit 1; }
for tool in Xvfb openbox xcompmgr xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d /tmp/velmor-bench.XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=160
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -noreset -screen 0 3840x2160x24 +extension RANDR +extension Composite \
  >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$display"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
xcompmgr >"$work/xcompmgr.log" 2>&1 &
pids+=($!)
sleep 1.5

# A session bus as on a desktop: without one, Qt's accessibility start-up waits for X11
# autolaunch of a bus on the first widget that gets an accessible name.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
for run in $(seq "$runs"); do
  echo "run $run:"
  "${session[@]}" "$preview" --bench 2>/dev/null | sed 's/^/  /'
done
