#!/usr/bin/env bash
# The idle program: velmor started with an empty home and left alone. Prints its wakeups
# (voluntary context switches over all its threads) while it waits, its CPU time and its peak
# memory. IDLE_SECONDS sets how long to watch (default 30).
set -uo pipefail
build_dir=${1:-build}
seconds=${IDLE_SECONDS:-30}
cd "$(dirname "$0")/.."
source scripts/lib/desktop.sh
source bench/lib/process.sh

start_xvfb 1920x1080
start_sound_server
start_session_bus
use_private_home

"$build_dir/velmor" >"$desktop_work/out.log" 2>&1 &
pid=$!
desktop_pids+=($pid)
sleep 3 # let the launch settle
watch_process "$pid" "$seconds" "idle"
echo "its output: $(tr '\n' '|' <"$desktop_work/out.log")"
