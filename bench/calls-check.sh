#!/usr/bin/env bash
# Time of the check at a due overlay: five .ics calendars of 500 events and a hostile one,
# Evolution Data Server running with 500 events on a session bus of the bench's own, the
# microphone asked of a private PulseAudio server.
set -euo pipefail
build_dir=${1:-build}
cd "$(dirname "$0")/.."
cmake --build "$build_dir" --target calls_check_bench -j2 >/dev/null

work=$(mktemp -d /tmp/velmor-calls-bench.XXXXXX)
server=
cleanup() { [ -n "$server" ] && kill "$server" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
if command -v pulseaudio >/dev/null; then
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=mic" \
    --load="module-remap-source master=mic.monitor source_name=micsrc" >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-source micsrc >/dev/null 2>&1 || true
fi
export GSETTINGS_BACKEND=memory XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
export XDG_CACHE_HOME="$HOME/.cache"
export VELMOR_BENCH_EDS_CALENDAR="$XDG_DATA_HOME/evolution/calendar/system/calendar.ics"
timeout -k 5 120 dbus-run-session -- "$build_dir/calls_check_bench" 2> >(grep -v 'fd limit' >&2)
