#!/usr/bin/env bash
# Runs every test against real components: an Xvfb display with two monitors and a private
# PulseAudio server with null sinks, both started here and stopped on exit. Each test makes its
# own HOME and XDG folders.
set -uo pipefail
build_dir=${1:-build}
cd "$(dirname "$0")/.."
root=$(pwd)

work=$(mktemp -d /tmp/velmor-tests.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -noreset -screen 0 3840x1080x24 +extension RANDR >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$display"
xrandr --setmonitor L 1920/508x1080/286+0+0 screen >/dev/null 2>&1
xrandr --setmonitor R 1920/508x1080/286+1920+0 none >/dev/null 2>&1

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  --load=module-native-protocol-unix \
  --load="module-null-sink sink_name=out" --load="module-null-sink sink_name=mic" \
  --load="module-remap-source master=mic.monitor source_name=micsrc" >"$work/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink out >/dev/null 2>&1
pactl set-default-source micsrc >/dev/null 2>&1

export VELMOR_TEST_DISPLAY="$DISPLAY"
export HOME="$work/home" && mkdir -p "$HOME"

ctest --test-dir "$build_dir" --output-on-failure -j 2 --timeout 300
