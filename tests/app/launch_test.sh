#!/usr/bin/env bash
# The program end to end under the test runner's X server and sound server: it starts and loads
# its prompts, stays one instance, brings its window back on a second launch, shows an overlay
# for --now and for the global shortcut, and quits cleanly on SIGTERM.
set -uo pipefail
velmor=$1
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: run through scripts/run-tests.sh"; exit 1; }
source "$(dirname "$0")/checks.sh"
private_home launch
pid=
tray=
cleanup() { kill $pid $tray 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
visible_window() { xdotool search --onlyvisible --name '^Velmor$' >/dev/null 2>&1; }
# The overlay darkens the screen: the centre pixel of the left monitor turns the theme colour.
centre_is_dark() {
  local px
  px=$(import -window root -crop 1x1+960+540 -depth 8 txt:- 2>/dev/null | tail -1)
  [[ $px == *"#25252"* || $px == *"#26262"* ]]
}
centre_is_clear() { ! centre_is_dark; }

# A tray host, as a desktop has one: with it the program starts quietly in the tray.
xdotool mousemove 960 540 # the overlay goes to the screen under the pointer
trayer --edge top --align right --widthtype pixel --width 200 --height 24 >/dev/null 2>&1 &
tray=$!
sleep 0.5

"$velmor" >"$work/out.log" 2>&1 &
pid=$!
check "starts and loads its starter prompts" wait_until log_has "starter prompts"
check "no window at launch beside a tray" bash -c '! xdotool search --onlyvisible --name "^Velmor$" >/dev/null 2>&1'

"$velmor"
check "a second launch exits at once and brings the window back" wait_until visible_window
check "a second launch leaves one instance" bash -c "[ \$(pgrep -c -f '^$velmor\$') -eq 1 ]"

"$velmor" --now
check "--now shows an overlay" wait_until centre_is_dark
"$velmor" --pause
check "--pause removes the overlay at once" wait_until centre_is_clear

xdotool key ctrl+shift+g
check "the global shortcut fires once" wait_until log_has "[Velmor] Shortcut fired!"
sleep 0.5
check "the shortcut's overlay appears" wait_until centre_is_dark
xdotool key Escape

"$velmor" --bogus 2>/dev/null
check "an unknown option is refused with status 2" test $? -eq 2

kill -TERM "$pid"
check "SIGTERM ends it cleanly" wait_until bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid"; status=$?
check "exit status 0 after SIGTERM" test "$status" -eq 0
pid=

report
