#!/usr/bin/env bash
# The program in a desktop of its own (a display with openbox and a session bus): a second
# launch brings back the window when it is minimised and when another window covers it, read
# from the X server; the session bus killed while an overlay is on screen leaves Velmor running.
#   desktop_session_test.sh VELMOR
set -uo pipefail
velmor=$1
source "$(dirname "$0")/../../scripts/lib/desktop.sh"
wait_seconds=10
source "$(dirname "$0")/checks.sh"
start_xvfb 1920x1080
start_session_bus
bus=${desktop_pids[-1]}
start_window_manager_and_compositor
private_home session
# A runtime folder of its own: its own instance socket, and no sound server.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pid=
cover=
asker=
cleanup() { kill $pid $cover $asker 2>/dev/null; stop_desktop; rm -rf "$work"; }
trap cleanup EXIT

main_window() {
  local w
  for w in $(xdotool search --name '^Velmor$' 2>/dev/null); do
    [ "$(xwininfo -id "$w" 2>/dev/null | awk '/Width:/ {print $2}')" -ge 400 ] 2>/dev/null && { echo "$w"; return 0; }
  done
  return 1
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
not_viewable() { ! viewable "$1"; }
# The window the manager stacks on top of all others, and the one it gave the focus.
on_top() { [ "$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | tail -1)" = "$(printf '0x%x' "$1")" ]; }
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
in_front() { viewable "$1" && on_top "$1" && active "$1"; }
escape_clears() { xdotool key Escape; centre_is_clear; }

"$velmor" >"$work/out.log" 2>&1 &
pid=$!
check "starts" wait_until log_has "starter prompts"
# A later launch hands over and exits; bounded, in case it found no Velmor to hand over to.
relaunch() { timeout 10 "$velmor" "$@"; }
relaunch
window=$(wait_until main_window >/dev/null && main_window)
check "a second launch shows the window" wait_until in_front "$window"

xdotool windowminimize "$window"
check "minimised by the window manager" wait_until not_viewable "$window"
relaunch
check "a second launch brings the minimised window back to the front" wait_until in_front "$window"

xmessage -geometry 700x500+0+0 "another program" 2>/dev/null &
cover=$!
cover_window=$(wait_until xdotool search --name "^xmessage$" >/dev/null && xdotool search --name '^xmessage$' | head -1)
xdotool mousemove 300 200 click 1
check "another window covers it and has the focus" wait_until in_front "$cover_window"
relaunch
check "a second launch raises the covered window and gives it the focus" wait_until in_front "$window"

relaunch --now
check "an overlay arrives" within 20 centre_is_dark
kill "$bus"
check "with the session bus gone, the overlay still leaves on a key" within 15 escape_clears
check "and Velmor keeps running" kill -0 "$pid"
"$velmor" --now >/dev/null 2>&1 &
asker=$!
check "and shows the next overlay when asked" within 20 centre_is_dark
kill -TERM "$pid"
check "SIGTERM still ends it" wait_until bash -c "! kill -0 $pid 2>/dev/null"
pid=

report
