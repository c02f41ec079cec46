#!/usr/bin/env bash
# One Velmor per session, with the built program under the test runner's X server: the lock of a
# killed instance is taken over, and a launch with --now while the running instance is stalled
# waits for it rather than starting a second one.
set -uo pipefail
velmor=$1
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: run through scripts/run-tests.sh"; exit 1; }
wait_seconds=10
source "$(dirname "$0")/checks.sh"
private_home instance
# A runtime folder of its own, still playing through the runner's sound server.
[ -n "${XDG_RUNTIME_DIR:-}" ] && export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
lock="$XDG_RUNTIME_DIR/velmor.lock"
cleanup() {
  for p in $(pgrep -f "^$velmor( |\$)"); do kill -CONT "$p"; kill -9 "$p"; done 2>/dev/null
  wait 2>/dev/null; rm -rf "$work"
}
trap cleanup EXIT
instances() { pgrep -f "^$velmor( |\$)" | sort; } # with or without options
one_instance() { [ "$(instances | wc -l)" -eq 1 ]; }
lock_holder() { head -1 "$lock" 2>/dev/null; }
holds_lock() { [ "$(lock_holder)" = "$1" ]; }
xdotool mousemove 960 540

# Launches in the same instant are the probe's (SingleInstanceTest); here the program's own lock.
"$velmor" >"$work/first.log" 2>&1 &
survivor=$!
check "the first launch holds the lock" wait_until holds_lock "$survivor"

{ kill -9 "$survivor"; wait "$survivor"; } 2>/dev/null
check "a killed instance leaves its lock behind" test -e "$lock"
"$velmor" >"$work/next.log" 2>&1 &
next=$!
check "the next launch takes the stale lock over" wait_until holds_lock "$next"
check "and starts" wait_until grep -q "starter prompts" "$work/next.log"

kill -STOP "$next"
"$velmor" --now >"$work/now.log" 2>&1 &
asker=$!
sleep 2.5
check "--now waits for a stalled instance" kill -0 "$asker"
check "and starts no second one" bash -c "! grep -q 'starter prompts' '$work/now.log'"
check "the stalled instance keeps the lock" holds_lock "$next"
kill -CONT "$next"
check "--now is handed over once the instance runs again" wait_until bash -c "! kill -0 $asker 2>/dev/null"
status=running
kill -0 "$asker" 2>/dev/null || { wait "$asker"; status=$?; }
check "--now exits with status 0" test "$status" = 0
check "its overlay appears" wait_until centre_is_dark
check "one instance in the end" one_instance

report
