#!/usr/bin/env bash
# Velmor under GNOME Shell itself: headless, Wayland only, no tray, run with the program as an
# unprivileged user on a session bus of its own and a private system bus. What the user sees is
# read back from the shell's own screenshots and keys go through mutter's remote desktop
# session (tests/ui/overlay/gnome-remote.py). The fade must show the desktop through it, never
# black; Ctrl+Q quits from the window and from an overlay at any time, as does velmor --quit;
# the shell logs no CRITICAL for our windows, and the bus starts no service for Velmor.
#   overlay_gnome.sh VELMOR
set -uo pipefail
velmor=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in gnome-shell dbus-daemon gsettings /usr/bin/python3; do
  command -v "$tool" >/dev/null ||
    { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done
source "$here/../../../scripts/lib/wayland.sh"
source "$here/../../app/checks.sh"

desktop='#3a6ea5'
theme='#252527' # charcoal, the default theme
runtime="$wayland_dir/runtime"
bus_log="$desktop_work/session-bus.log"
shell_log="$desktop_work/gnome-shell.log"
pid=

# Buses of the session's own: the system bus only has to exist; the session bus starts the
# settings store and, as GNOME ships it, a screen saver nobody runs (what Velmor must not start).
bus_config() { # TYPE ADDRESS [SERVICE DIR]
  cat <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>$1</type>
  <listen>unix:path=$2</listen>
  <auth>EXTERNAL</auth>
  ${3:+<servicedir>$3</servicedir>}
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
}
services="$wayland_dir/services"
mkdir -p "$services"
for service in ca.desrt.dconf org.gnome.ScreenSaver; do
  [ -e "/usr/share/dbus-1/services/$service.service" ] &&
    ln -s "/usr/share/dbus-1/services/$service.service" "$services/"
done
bus_config system "$runtime/system_bus" >"$wayland_dir/system.conf"
bus_config session "$runtime/bus" "$services" >"$wayland_dir/session.conf"
chmod 644 "$wayland_dir"/*.conf
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$runtime/system_bus"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
in_session() { # COMMAND...: as the session's user, on its buses
  as_wayland_user env DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
    DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS" "$@"
}
spawn_in_session() { # LOG COMMAND...
  spawn_as_wayland_user "$1" env DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
    DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS" "${@:2}"
}
for type in system session; do
  spawn_as_wayland_user "$desktop_work/$type-bus.log" dbus-daemon --nofork --nosyslog \
    --config-file="$wayland_dir/$type.conf"
  desktop_pids+=("$spawned")
done
wait_until test -S "$runtime/bus" -a -S "$runtime/system_bus" || { echo "no buses"; exit 1; }

# A plain desktop of one colour.
in_session gsettings set org.gnome.desktop.background picture-uri ''
in_session gsettings set org.gnome.desktop.background picture-uri-dark ''
in_session gsettings set org.gnome.desktop.background primary-color "$desktop"
in_session gsettings set org.gnome.desktop.background color-shading-type solid

spawn_in_session "$shell_log" gnome-shell --wayland --headless --no-x11 \
  --virtual-monitor 1920x1080
desktop_pids+=("$spawned")
shell_up() {
  in_session gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell \
    -m org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive >/dev/null 2>&1
}
if ! within 60 shell_up; then
  echo "SKIPPED: gnome-shell cannot start here; the end of its log:"
  tail -5 "$shell_log"
  exit 77
fi
export WAYLAND_DISPLAY=wayland-0

coproc remote { in_session /usr/bin/python3 "$here/gnome-remote.py" 2>"$desktop_work/remote.log"; }
# Its input closed, it ends: nothing is left for the desktop's clean-up to wait for.
trap 'exec {remote[1]}>&-; stop_desktop' EXIT
read -r -t 20 -u "${remote[0]}" ready
[ "${ready:-}" = ready ] ||
  { echo "the remote desktop session did not start:"; cat "$desktop_work/remote.log"; exit 1; }
ask() { # REQUEST: its one-line answer in $answer
  echo "$*" >&"${remote[1]}"
  answer=
  read -r -t 10 -u "${remote[0]}" answer
}

# near COLOUR EXPECTED: each channel within 3 levels.
near() {
  local i d
  for i in 1 3 5; do
    d=$((16#${1:i:2} - 16#${2:i:2}))
    [ "${d#-}" -le 3 ] || return 1
  done
}
# between COLOUR: on the way from the desktop to the theme colour, each channel within 3 levels
# of that span (black, or anything the desktop does not show through, is not).
between() {
  local i c a b
  for i in 1 3 5; do
    c=$((16#${1:i:2})) a=$((16#${desktop:i:2})) b=$((16#${theme:i:2}))
    ((a > b)) && { local t=$a; a=$b; b=$t; }
    ((c >= a - 3 && c <= b + 3)) || return 1
  done
}
# Over the desktop, clear of the main window (placed top left) and of the prompt.
spot=1700,950
pixel() { ask pixels "$1" && [[ $answer =~ ^#[0-9a-f]{6}$ ]] && echo "$answer"; }
shows() { local px; px=$(pixel "$1") && near "$px" "$2"; }
# The shell opens on its overview once it has started up; the desktop itself is wanted.
desktop_shows() {
  in_session gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell \
    -m org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >/dev/null &&
    shows "$spot" "$desktop"
}
within 20 desktop_shows || { echo "the desktop did not show its colour: $(pixel "$spot")"; exit 1; }

since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN {print b - a}'; }
sleep_until() { # T0 SECONDS
  local left
  left=$(awk -v a="$1" -v s="$2" -v b="$(date +%s.%N)" 'BEGIN {d = a + s - b; print (d > 0 ? d : 0)}')
  sleep "$left"
}
runs=0
start_velmor() {
  log="$wayland_dir/velmor-$((++runs)).log"
  spawn_in_session "$log" env QT_QPA_PLATFORM=wayland "$velmor"
  pid=$spawned
  wait_until grep -q "starter prompts" "$log"
}
velmor_command() { in_session env QT_QPA_PLATFORM=wayland "$velmor" "$@" >/dev/null 2>&1; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
stop_velmor() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  pid=
}
trap 'stop_velmor; exec {remote[1]}>&-; stop_desktop' EXIT
window_has_keyboard() { ask windows && grep -q "Velmor:focused" <<<"$answer"; }
criticals() { grep -c CRITICAL "$shell_log"; }
criticals_before=$(criticals)

check "starts under GNOME Shell" start_velmor
# No tray: the window opens at launch, with the keyboard; Ctrl+Q there quits.
check "the window opens with the keyboard" within 10 window_has_keyboard
ask keys Control+q
check "Ctrl+Q in the window quits Velmor" within 5 ended
stop_velmor

start_velmor
within 10 window_has_keyboard
# The times count from the request; the overlay comes a moment later.
t0=$(date +%s.%N)
velmor_command --now &
fade=()
for at in 0.4 1 2; do
  sleep_until "$t0" "$at"
  fade+=("$(pixel "$spot")")
done
echo "  over the desktop at 0.4, 1 and 2 s: ${fade[*]} (desktop $desktop, theme $theme)"
fades_over_desktop() {
  local px
  for px in "${fade[@]}"; do between "$px" || return 1; done
  ! near "${fade[2]}" "$desktop" # moving at 2 s
}
check "the fade-in shows the desktop through it, never black" fades_over_desktop
sleep_until "$t0" 10.5
ask keys a
keyed=$(date +%s.%N)
out=()
for at in 4 5; do
  sleep_until "$keyed" "$at"
  out+=("$(pixel "$spot")")
done
echo "  over the desktop 4 and 5 s into the fade-out: ${out[*]}"
fades_out_over_desktop() {
  between "${out[0]}" && between "${out[1]}" && ! near "${out[1]}" "$theme"
}
check "the fade-out shows the desktop through it, never black" fades_out_over_desktop
check "and ends on the desktop" within 6 shows "$spot" "$desktop"

t0=$(date +%s.%N)
velmor_command --now &
sleep_until "$t0" 2
ask keys Control+q
check "Ctrl+Q on an overlay at 2 s quits Velmor" within 3 ended
stop_velmor

start_velmor
quits() { velmor_command --quit && within 5 ended; }
check "velmor --quit ends the running Velmor at once" quits
stop_velmor
said=$(in_session env QT_QPA_PLATFORM=wayland "$velmor" --quit 2>&1)
check "with none running --quit says so" grep -q "Velmor is not running" <<<"$said"

check "the shell logged no CRITICAL for our windows" test "$(criticals)" -eq "$criticals_before"
check "the bus started no service for Velmor" bash -c "! grep 'Activating service' '$bus_log' | grep -q velmor"

if [ "$failures" -gt 0 ]; then
  echo "--- program output:"; tail -20 "$log"
  echo "--- shell CRITICALs:"; grep CRITICAL "$shell_log" | sort | uniq -c | head
  echo "--- services activated:"; grep 'Activating service' "$bus_log"
fi
report
