#!/usr/bin/env bash
# The program on a Wayland session: a headless weston compositor and a desktop portal that
# offers global shortcuts (tests/support/mock-portal.py) on a session bus of the test's own.
# Velmor runs natively on Wayland, binds its shortcut through the portal, fires it when the
# portal activates it and closes its session on SIGTERM. Without the portal's interface it
# says shortcuts are unavailable; with no compositor it falls back to the X server.
set -uo pipefail
velmor=$1
here=$(cd "$(dirname "$0")" && pwd)
portal_script="$here/../support/mock-portal.py"
source "$here/checks.sh"
private_home wayland
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM XDG_SESSION_TYPE
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
wait_seconds=10
command -v weston >/dev/null || { echo "weston is not installed"; exit 1; }

dbus-daemon --session --nofork --print-address=1 >"$work/bus" 2>/dev/null &
pids+=($!)
wait_until test -s "$work/bus" || { echo "no session bus"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
weston --backend=headless-backend.so --use-pixman --debug --socket=velmor-test --idle-time=0 \
  --width=1920 --height=1080 >"$work/weston.log" 2>&1 &
pids+=($!)
wait_until test -S "$XDG_RUNTIME_DIR/velmor-test" || { echo "weston did not start"; exit 1; }

portal() { # method, args...: the mock portal's test interface
  gdbus call --session -d org.freedesktop.portal.Desktop -o /org/freedesktop/portal/desktop \
    -m "org.velmor.test.Portal.$1" "${@:2}" 2>/dev/null
}
start_portal() { # options...
  /usr/bin/python3 "$portal_script" "$@" &
  portal_pid=$!
  pids+=($portal_pid)
  wait_until bash -c 'gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner org.freedesktop.portal.Desktop | grep -q true'
}
stop_portal() { kill "$portal_pid"; wait "$portal_pid" 2>/dev/null; }
start_velmor() { # environment assignments...
  env "$@" "$velmor" >"$work/out.log" 2>&1 &
  pid=$!
  pids+=($pid)
}
stop_velmor() {
  kill -TERM "$pid"
  wait_until bash -c "! kill -0 $pid 2>/dev/null"
}

start_portal || { echo "the portal did not start"; exit 1; }
start_velmor WAYLAND_DISPLAY=velmor-test
check "starts on the Wayland session" wait_until log_has "starter prompts"
check "binds triggerVelmoring with Ctrl+Shift+G as the preferred trigger" \
  wait_until bash -c "$(declare -f portal); portal Calls | grep -q 'CTRL+SHIFT+G'"
check "the binding carries the shortcut's id and description" \
  bash -c "$(declare -f portal); portal Calls | grep -qF '\"id\": \"triggerVelmoring\", \"description\": \"Trigger velmoring\"'"
check "no X11 hot keys were tried" bash -c "! grep -q 'Global shortcuts are not available' '$work/out.log'"
portal Activate triggerVelmoring >/dev/null
check "the portal's activation fires the shortcut once" wait_until log_has "[Velmor] Shortcut fired!"
check "once: Activated and Deactivated are one use" bash -c "sleep 0.5; [ \$(grep -c 'Shortcut fired' '$work/out.log') -eq 1 ]"
stop_velmor
check "SIGTERM closes the portal session" \
  wait_until bash -c "$(declare -f portal); portal OpenSessions | grep -q '(@as \[\],)'"
stop_portal

start_portal --no-shortcuts
start_velmor WAYLAND_DISPLAY=velmor-test
check "a portal without global shortcuts: says so once" \
  wait_until log_has "Global shortcuts are not available"
check "and binds nothing" bash -c "$(declare -f portal); portal Calls | grep -q \"('\[\]',)\""
stop_velmor
stop_portal

# No compositor behind WAYLAND_DISPLAY: Qt's own order falls back to the X server.
if [ -n "${DISPLAY:-}" ]; then
  start_velmor WAYLAND_DISPLAY=no-such-compositor
  check "without a compositor it falls back to X11" wait_until log_has "starter prompts"
  xdotool key ctrl+shift+g
  check "where the X11 hot key works" wait_until log_has "[Velmor] Shortcut fired!"
  stop_velmor
fi

report
