#!/usr/bin/env bash
# Prints how soon a prepared sound is heard after play() and how quiet the idle players are,
# against a private PulseAudio server with a null sink (started here unless one answers).
# Usage: bench/sound-latency.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target sound_latency_bench velmor_sounds -j2 >"$build_dir/sound-bench-build.log" || { tail -20 "$build_dir/sound-bench-build.log"; exit 1; }

work=$(mktemp -d /tmp/velmor-sound-bench.XXXXXX)
pulse_pid=
cleanup() {
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ! pactl info >/dev/null 2>&1; then
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=out" \
    >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink out
fi
export HOME="$work/home" && mkdir -p "$HOME"
"$build_dir/sound_latency_bench" "$build_dir/resources"
