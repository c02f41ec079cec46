# Sourced by the test, screenshot and benchmark scripts: a private X server (and, where asked, a
# window manager, a compositor and a sound server) that is stopped when the script exits.

desktop_pids=()
desktop_work=$(mktemp -d /tmp/velmor-desktop.XXXXXX)

stop_desktop() {
  for ((i = ${#desktop_pids[@]} - 1; i >= 0; i--)); do kill "${desktop_pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$desktop_work"
}
trap stop_desktop EXIT

# start_xvfb WIDTHxHEIGHT: an X server on a free display number; exports DISPLAY.
start_xvfb() {
  local display=140
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -noreset -screen 0 "$1x24" +extension RANDR +extension Composite \
    >"$desktop_work/xvfb.log" 2>&1 &
  desktop_pids+=($!)
  for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
  export DISPLAY=":$display"
}

# Two monitors side by side on a 3840x1080 screen, as Qt sees two screens.
split_into_two_monitors() {
  xrandr --setmonitor L 1920/508x1080/286+0+0 screen >/dev/null 2>&1
  xrandr --setmonitor R 1920/508x1080/286+1920+0 none >/dev/null 2>&1
}

# openbox and xcompmgr, so windows are managed and fades are composited for real.
start_window_manager_and_compositor() {
  openbox >"$desktop_work/openbox.log" 2>&1 &
  desktop_pids+=($!)
  xcompmgr >"$desktop_work/xcompmgr.log" 2>&1 &
  desktop_pids+=($!)
  sleep 1.5
}

# A system tray (trayer) on the top edge, as a panel would hold one.
start_tray_host() {
  trayer --edge top --align right --widthtype pixel --width 200 --height 24 >/dev/null 2>&1 &
  desktop_pids+=($!)
  sleep 1
}

# A private PulseAudio with null sinks: "out" (default sink) and a microphone "micsrc" (default
# source), in a private XDG_RUNTIME_DIR.
start_sound_server() {
  export XDG_RUNTIME_DIR="$desktop_work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=out" --load="module-null-sink sink_name=mic" \
    --load="module-remap-source master=mic.monitor source_name=micsrc" >"$desktop_work/pulse.log" 2>&1 &
  desktop_pids+=($!)
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink out >/dev/null 2>&1
  pactl set-default-source micsrc >/dev/null 2>&1
}

# A session bus as every desktop has one; exports DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
  local address
  dbus-daemon --session --nofork --print-address=3 3>"$desktop_work/bus-address" \
    >/dev/null 2>&1 &
  desktop_pids+=($!)
  for _ in $(seq 50); do [ -s "$desktop_work/bus-address" ] && break; sleep 0.1; done
  address=$(head -1 "$desktop_work/bus-address")
  [ -n "$address" ] && export DBUS_SESSION_BUS_ADDRESS="$address"
}

# An empty home with its own XDG folders and TMPDIR, so nothing touches the user's files and no
# run reaches another's instance.
use_private_home() {
  export HOME="$desktop_work/home" XDG_CONFIG_HOME="$desktop_work/home/.config"
  export XDG_DATA_HOME="$desktop_work/home/.local/share" TMPDIR="$desktop_work/tmp"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$TMPDIR"
}

# find_built PROGRAM [BUILD_DIR]: the program in the given build folder, $VELMOR_BUILD_DIR,
# build/ or build-overlay/.
find_built() {
  local root dir
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  for dir in "${2:-}" "${VELMOR_BUILD_DIR:-}" "$root/build" "$root/build-overlay"; do
    if [ -n "$dir" ] && [ -x "$dir/$1" ]; then echo "$dir/$1"; return 0; fi
  done
  echo "$1 is not built: cmake --build <build dir> --target $1" >&2
  return 1
}
