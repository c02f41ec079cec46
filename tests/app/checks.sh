# Sourced by the black-box program tests: a private home, named checks that are counted, and a
# patient wait.
private_home() { # name: makes $work with a home of its own in it
  work=$(mktemp -d "/tmp/velmor-$1.XXXXXX")
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
  mkdir -p "$HOME"
}
# What the program printed, in $work/out.log.
log_has() { grep -qF -- "$1" "$work/out.log"; }
log_count() { grep -cF -- "$1" "$work/out.log"; }
failures=0
passes=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
wait_seconds=${wait_seconds:-5}
wait_until() { # tries a command until it succeeds or $wait_seconds (real time, maybe 4.5) passed
  local end
  end=$(awk -v n="$EPOCHREALTIME" -v s="$wait_seconds" 'BEGIN {printf "%.0f", (n + s) * 1e6}')
  until "$@"; do
    ((${EPOCHREALTIME/./} < end)) || return 1
    sleep 0.1
  done
}
within() { local wait_seconds=$1; wait_until "${@:2}"; } # within SECONDS COMMAND...
# An overlay darkens the screen: the centre pixel of the left monitor (#rrggbb) turns the theme
# colour.
centre_pixel() {
  import -window root -crop 1x1+960+540 -depth 8 txt:- 2>/dev/null | tail -1 | grep -o '#[0-9A-F]\{6\}'
}
centre_is_dark() { [[ $(centre_pixel) == "#2525"* || $(centre_pixel) == "#2626"* ]]; }
centre_is_clear() { local px; px=$(centre_pixel) && [[ $px != "#2525"* && $px != "#2626"* ]]; }
# The program's main windows on the X server, mapped or not (the tray icon is a small one).
main_windows() {
  local w width
  for w in $(xdotool search --name '^Velmor$' 2>/dev/null); do
    width=$(xwininfo -id "$w" 2>/dev/null | awk '/Width:/ {print $2}')
    [ "${width:-0}" -ge 400 ] && echo "$w"
  done
}
visible_main_window() {
  local w
  for w in $(main_windows); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$w"; return 0; }
  done
  return 1
}
no_main_window() { [ -z "$(main_windows)" ]; }
# A tray host, as a desktop has one; $tray is its pid. Overlays go to the screen under the pointer.
start_tray() {
  xdotool mousemove 960 540
  trayer --edge top --align right --widthtype pixel --width 200 --height 24 >/dev/null 2>&1 &
  tray=$!
  sleep 0.5
}
# The closing line ctest reads, and the status.
report() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
