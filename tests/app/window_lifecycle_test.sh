#!/usr/bin/env bash
# The program end to end under the test runner's X server: beside a tray it starts quietly with
# no window; a second launch brings the main window and exits; closed as a window manager
# closes it, the window leaves nothing behind on the X server, many times over; closing it in
# the middle of recording a shortcut leaves the global shortcut working; --pause, the shortcut
# with the window open, a bad option and SIGTERM work afterwards.
#   window_lifecycle_test.sh VELMOR CLOSE_WINDOW
set -uo pipefail
velmor=$1
close_window=$2
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: run through scripts/run-tests.sh"; exit 1; }
source "$(dirname "$0")/checks.sh"
private_home lifecycle
pid=
tray=
cleanup() { kill $pid $tray 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

close_main_window() {
  local w
  w=$(visible_main_window) || return 1
  "$close_window" "$w"
}

start_tray
VELMOR_BENCH=1 "$velmor" >"$work/out.log" 2>&1 &
pid=$!
check "starts beside the tray with no window" wait_until log_has "starter prompts"
check "and builds none" no_main_window

for round in 1 2 3; do
  "$velmor"
  check "round $round: a second launch shows the window" wait_until visible_main_window
  check "round $round: its first paint is reported" wait_until test "$(log_count 'bench: window painted')" -eq "$round"
  check "round $round: one main window exists" test "$(main_windows | wc -l)" -eq 1
  close_main_window
  check "round $round: closing it leaves no window on the X server" wait_until no_main_window
  check "round $round: the program keeps running" kill -0 "$pid"
done

# Closing the window while its shortcut recorder listens (shortcuts are paused meanwhile).
"$velmor"
window=$(wait_until visible_main_window && visible_main_window)
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+comma
sleep 0.5
# The recorder sits at the foot of the general screen; a click starts recording.
read -r x y < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
xdotool mousemove $((x + 400)) $((y + 300))
for _ in $(seq 15); do xdotool click 5; done
sleep 0.5
xdotool mousemove $((x + 460)) $((y + 305)) click 1
sleep 0.3
fired=$(log_count "[Velmor] Shortcut fired!")
xdotool key ctrl+shift+g
sleep 1
check "the listening recorder takes the keys: the global shortcut is paused" \
  test "$(log_count "[Velmor] Shortcut fired!")" -eq "$fired"
xdotool click 1 # listening again
sleep 0.3
close_main_window
check "closed in the middle of the general screen, no window remains" wait_until no_main_window
xdotool key ctrl+shift+g
check "the global shortcut fires after the window is gone" wait_until log_has "[Velmor] Shortcut fired!"
check "its overlay appears" wait_until centre_is_dark
"$velmor" --pause
check "--pause removes it" wait_until centre_is_clear

"$velmor"
check "the window opens once more after all that" wait_until visible_main_window
xdotool key ctrl+shift+g
check "the shortcut's overlay comes over the open window" wait_until centre_is_dark
xdotool key Escape
check "and goes" wait_until centre_is_clear
"$velmor" --bogus 2>/dev/null
check "an unknown option is refused with status 2" test $? -eq 2
kill -TERM "$pid"
check "SIGTERM ends it with its window open" wait_until bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid"; status=$?
check "exit status 0" test "$status" -eq 0
pid=

report
