#!/usr/bin/env bash
# Idle memory of the program, as it depends on the desktop's calendars: velmor started with an
# empty home on a private session bus where Evolution Data Server can be activated, once while
# EDS does not run and once while it runs (its client libraries are then loaded). Prints the
# resident memory (VmRSS) some seconds after the launch. For comparison, a third launch while EDS
# does not run has the client libraries preloaded, as when the program linked them.
# VELMOR=path measures another build.
set -uo pipefail
build_dir=${1:-build}
settle=${SETTLE_SECONDS:-8}
cd "$(dirname "$0")/.."
velmor=${VELMOR:-$build_dir/velmor}
source scripts/lib/desktop.sh

start_xvfb 1920x1080
start_sound_server
start_session_bus
use_private_home

bus_call() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    "org.freedesktop.DBus.$1" "${@:2}" 2>/dev/null
}
eds_names=(org.gnome.evolution.dataserver.Sources5 org.gnome.evolution.dataserver.Calendar8)

rss_after_launch() { # label [preload]
  LD_PRELOAD=${2:-} "$velmor" >"$desktop_work/out.log" 2>&1 &
  local pid=$!
  sleep "$settle"
  local rss libs
  rss=$(awk '$1 == "VmRSS:" {print $2}' "/proc/$pid/status")
  libs=$(grep -c 'libecal\|libedataserver' "/proc/$pid/maps")
  echo "$1: VmRSS $rss kB after ${settle} s; EDS client library mappings: $libs"
  kill "$pid"; wait "$pid" 2>/dev/null
}

rss_after_launch "EDS activatable, not running"
preload=$(ldd "$build_dir/velmor-eds.so" | awk '/libecal|libedataserver/ {print $3}' | tr '\n' ' ')
rss_after_launch "EDS not running, client libraries preloaded (as linked before)" "$preload"
for name in "${eds_names[@]}"; do bus_call StartServiceByName "string:$name" uint32:0 >/dev/null; done
for _ in $(seq 100); do
  bus_call NameHasOwner "string:${eds_names[1]}" | grep -q true && break
  sleep 0.1
done
rss_after_launch "EDS running"
# The services (and what they started) go with the bus; stop them first by their ids.
for name in "${eds_names[@]}"; do
  pid=$(bus_call GetConnectionUnixProcessID "string:$name" | awk '/uint32/ {print $2}')
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
done
