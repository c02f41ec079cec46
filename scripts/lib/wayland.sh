# Sourced by the Wayland test and benchmark scripts: a headless compositor (sway or weston) that
# is stopped when the script exits, run with the program as an unprivileged user (sway refuses to
# run as root), each such session with its own XDG_RUNTIME_DIR, HOME and TMPDIR.
source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

# The user the compositor and the program run as: "nobody" when started as root, else oneself.
wayland_user=nobody
wayland_group=nogroup
[ "$(id -u)" -eq 0 ] || wayland_user=

# The session's folders, owned by that user; the parent is left traversable for it.
chmod 711 "$desktop_work"
wayland_dir="$desktop_work/wayland"
mkdir -p "$wayland_dir"/{runtime,home,tmp}
chmod 700 "$wayland_dir/runtime"
[ -n "$wayland_user" ] && chown -R "$wayland_user:$wayland_group" "$wayland_dir"

# wayland_command COMMAND...: sets wayland_cmd to COMMAND as the session's user, in the session.
# Every step execs the next, so a process started from it in the background is COMMAND itself.
wayland_command() {
  local env=(env -i PATH="$PATH" HOME="$wayland_dir/home" TMPDIR="$wayland_dir/tmp"
    XDG_RUNTIME_DIR="$wayland_dir/runtime" XDG_CONFIG_HOME="$wayland_dir/home/.config"
    XDG_DATA_HOME="$wayland_dir/home/.local/share" LANG=C.UTF-8
    ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY=$WAYLAND_DISPLAY} ${SWAYSOCK:+SWAYSOCK=$SWAYSOCK})
  wayland_cmd=("${env[@]}" "$@")
  [ -n "$wayland_user" ] &&
    wayland_cmd=(setpriv --reuid="$wayland_user" --regid="$wayland_group" --clear-groups --
      "${wayland_cmd[@]}")
}
# as_wayland_user COMMAND...: runs it so, in the foreground.
as_wayland_user() {
  wayland_command "$@"
  "${wayland_cmd[@]}"
}
# spawn_as_wayland_user LOG COMMAND...: starts it so in the background, output to LOG; its pid
# goes into `spawned`.
spawn_as_wayland_user() {
  local log=$1
  shift
  wayland_command "$@"
  "${wayland_cmd[@]}" >"$log" 2>&1 &
  spawned=$!
}
# Waits for the compositor's socket and exports WAYLAND_DISPLAY.
wait_for_wayland_socket() { # name
  for _ in $(seq 100); do
    [ -S "$wayland_dir/runtime/$1" ] && { export WAYLAND_DISPLAY=$1; return 0; }
    sleep 0.1
  done
  echo "the compositor did not start; its log:"
  cat "$desktop_work"/*.log
  return 1
}

# start_sway WIDTHxHEIGHT COLOUR [CONFIG]: sway with two headless outputs of that size side by
# side, a desktop of one colour (#rrggbb), no bar unless the extra CONFIG lines add one.
start_sway() {
  local size=$1 colour=$2 config="$wayland_dir/sway.config"
  cat >"$config" <<EOF
xwayland disable
output HEADLESS-1 mode $size position 0 0 bg $colour solid_color
output HEADLESS-2 mode $size position ${size%x*} 0 bg $colour solid_color
${3:-}
EOF
  chmod 644 "$config"
  spawn_as_wayland_user "$desktop_work/sway.log" env WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 sway -c "$config"
  desktop_pids+=("$spawned")
  wait_for_wayland_socket wayland-1 || return 1
  export SWAYSOCK
  SWAYSOCK=$(ls "$wayland_dir"/runtime/sway-ipc.*.sock)
  # The background client draws a moment after the outputs come up.
  local w=${size%x*} h=${size#*x}
  for _ in $(seq 100); do
    screenshot "$wayland_dir/desktop.ppm"
    [ "$(pixels "$wayland_dir/desktop.ppm" "$((w / 2)),$((h / 2))" "$((w * 3 / 2)),$((h / 2))" | sort -u)" = "$colour" ] && return 0
    sleep 0.1
  done
  echo "sway did not draw its background"
  return 1
}

# start_weston WIDTHxHEIGHT COLOUR: weston's desktop shell on one headless output, screenshots
# allowed (--debug), a desktop of one colour (#rrggbb) without its panel.
start_weston() {
  local size=$1 colour=$2 config="$wayland_dir/weston.ini"
  printf '[shell]\nbackground-color=0xff%s\npanel-position=none\n' "${colour#\#}" >"$config"
  chmod 644 "$config"
  spawn_as_wayland_user "$desktop_work/weston.log" weston --backend=headless-backend.so \
    --use-pixman --debug --width="${size%x*}" --height="${size#*x}" --socket=wayland-weston \
    -c "$config"
  desktop_pids+=("$spawned")
  wait_for_wayland_socket wayland-weston || return 1
  sleep 1
}

# screenshot FILE.ppm: the whole layout as the compositor shows it (grim on sway, the debug
# screenshooter on weston), as a binary PPM.
screenshot() {
  local out=$1
  if [ "$WAYLAND_DISPLAY" = wayland-weston ]; then
    local dir="$wayland_dir/tmp/shot.$$"
    as_wayland_user mkdir -p "$dir"
    (cd "$dir" && as_wayland_user weston-screenshooter >/dev/null 2>&1)
    local png
    png=$(ls "$dir"/*.png 2>/dev/null | head -1)
    [ -n "$png" ] && convert "$png" -depth 8 "$out" && rm -rf "$dir"
  else
    as_wayland_user grim -t ppm - >"$out"
  fi
}

# pixels FILE.ppm X,Y...: the colour at each point, one #rrggbb a line. (No interpreter is
# started per screenshot: on a busy machine that alone takes a second.)
pixels() {
  local file=$1 header width offset point x y
  header=$(head -c 40 "$file" | head -n 3) # "P6", "WIDTH HEIGHT", "255"
  width=$(sed -n 2p <<<"$header")
  width=${width%% *}
  offset=$(($(printf '%s\n' "$header" | wc -c)))
  for point in "${@:2}"; do
    x=${point%,*} y=${point#*,}
    echo "#$(od -An -tx1 -v -j $((offset + 3 * (y * width + x))) -N3 "$file" | tr -d ' \n')"
  done
}
