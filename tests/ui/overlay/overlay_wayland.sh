#!/usr/bin/env bash
# The overlay on native Wayland, end to end: the program runs as an unprivileged user under a
# headless sway with two outputs, a bar and a full-screen terminal (the overlay goes on the layer
# shell's overlay layer, above both), then under a headless weston (no layer shell: full-screen
# windows), and what it shows is read back from the compositors' own screenshots; keys are typed
# with wtype (sway only: weston offers no virtual keyboard).
#   overlay_wayland.sh VELMOR
set -uo pipefail
velmor=$1
for tool in sway swaybar foot weston grim wtype weston-screenshooter; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
source "$(dirname "$0")/../../../scripts/lib/wayland.sh"
source "$(dirname "$0")/../../app/checks.sh"

desktop='#3a6ea5'
theme='#252527' # charcoal, the default theme
log="$wayland_dir/velmor.log"
pid=

# near COLOUR EXPECTED: each channel within 3 levels.
near() {
  local i d
  for i in 1 3 5; do
    d=$((16#${1:i:2} - 16#${2:i:2}))
    [ "${d#-}" -le 3 ] || return 1
  done
}
bar='#c08020'
terminal='#e0d0a0'
# fading FROM-TO... BACKDROP: the panel appears with the first "SECONDS #rrggbb" sample that is
# not the backdrop (what was on screen there before); for each FROM-TO some sample taken FROM to
# TO seconds after that lies strictly between the backdrop and the theme colour (2 levels off
# each, on every channel that moves), and every sample is at least as far along as the one before.
fading() {
  python3 -c '
import sys
backdrop, theme, desktop = (bytes.fromhex(x[1:]) for x in sys.argv[1:4])
spans = [tuple(map(float, a.split("-"))) for a in sys.argv[4].split()]
samples = [(float(t), bytes.fromhex(c[1:])) for t, c in (l.split() for l in sys.stdin if l.strip())]
while samples and all(abs(a - b) <= 3 for a, b in zip(samples[0][1], desktop)):
    samples.pop(0)
appeared = samples[0][0] if samples else 0
moving = [i for i in range(3) if abs(theme[i] - backdrop[i]) >= 8]
def along(c):  # 0 at the backdrop, 1 at the theme colour
    return sum((c[i] - backdrop[i]) / (theme[i] - backdrop[i]) for i in moving) / len(moving)
def between(c):
    return all(min(backdrop[i], theme[i]) + 2 <= c[i] <= max(backdrop[i], theme[i]) - 2 for i in moving)
ok = bool(samples) and all(
    any(lo <= t - appeared <= hi and between(c) for t, c in samples) for lo, hi in spans)
steps = [along(c) for _, c in samples]
ok = ok and all(b >= a - 0.02 for a, b in zip(steps, steps[1:]))
sys.exit(0 if ok else 1)' "$2" "$theme" "$2" "$1"
}

# Points over both 1920x1080 outputs: corners, edges and a spot clear of the prompt.
points=(0,0 1919,0 0,1079 1919,1079 960,5 1920,0 3839,0 1920,1079 3839,1079 2880,5 2880,1040)
shows() { # COLOUR...: each point of a new screenshot has its colour (one given: all the same)
  local shot="$wayland_dir/all.ppm" expected=("$@") seen i
  screenshot "$shot" || return 1
  mapfile -t seen < <(pixels "$shot" "${points[@]}")
  for i in "${!points[@]}"; do
    near "${seen[i]}" "${expected[i]:-$1}" || { last_seen="${points[*]} = ${seen[*]}"; return 1; }
  done
}
# The colours at the points, as they are now.
look() { screenshot "$wayland_dir/before.ppm" && mapfile -t before < <(pixels "$wayland_dir/before.ppm" "${points[@]}"); }
# What the last failing screenshot check saw, printed after a failure.
seen() { [ -n "${last_seen:-}" ] && echo "  (last look: $last_seen)"; last_seen=; }
covered() { shows "$theme"; }
clear_desktop() { shows "${before[@]}"; }
# sample T0 UNTIL: screenshots one after another until UNTIL seconds after T0; appends
# "SECONDS #rrggbb" lines (a spot clear of the prompt) to left.txt and right.txt, one per output.
sample() {
  local at
  : >"$wayland_dir/left.txt"
  : >"$wayland_dir/right.txt"
  while at=$(since "$1") && awk -v a="$at" -v u="$2" 'BEGIN {exit !(a < u)}'; do
    screenshot "$wayland_dir/sample.ppm" || continue
    mapfile -t px < <(pixels "$wayland_dir/sample.ppm" 960,200 2880,200)
    echo "$at ${px[0]}" >>"$wayland_dir/left.txt"
    echo "$at ${px[1]}" >>"$wayland_dir/right.txt"
  done
}

# type_keys WTYPE-ARGS...: types them twice, 0.3 s apart. A new virtual keyboard's first key can
# reach the window before its keymap does and be lost.
type_keys() { as_wayland_user wtype -s 300 "$@" -s 300 "$@"; }
since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN {print b - a}'; }
sleep_until() { # T0 SECONDS: sleeps until SECONDS after T0
  local left
  left=$(awk -v a="$1" -v s="$2" -v b="$(date +%s.%N)" 'BEGIN {d = a + s - b; print (d > 0 ? d : 0)}')
  sleep "$left"
}
start_velmor() {
  spawn_as_wayland_user "$log" env QT_QPA_PLATFORM=wayland "$velmor"
  pid=$spawned
  wait_until grep -q "starter prompts" "$log"
}
velmor_command() { as_wayland_user env QT_QPA_PLATFORM=wayland "$velmor" "$@" >/dev/null 2>&1; }
stop_velmor() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  pid=
}
trap 'stop_velmor; stop_desktop' EXIT

# Every screen is covered, as the setting asks.
mkdir -p "$wayland_dir/home/.config/velmor"
echo '{"overlayScope": "Every screen"}' >"$wayland_dir/home/.config/velmor/settings.json"
[ -n "$wayland_user" ] && chown -R "$wayland_user:$wayland_group" "$wayland_dir/home"

echo "== sway, two outputs, a bar and a full-screen terminal"
typed="$wayland_dir/tmp/typed.txt"
start_sway 1920x1080 "$desktop" "bar {
  position top
  colors {
    background $bar
  }
}
for_window [app_id=\"foot\"] fullscreen enable" || exit 1
check "starts on sway" start_velmor
# Without a tray the main window opens at launch; closed, the program stays and the outputs show
# the bare desktop.
main_window() { as_wayland_user swaymsg -t get_tree | grep -q '"name": "Velmor"'; }
wait_until main_window
as_wayland_user swaymsg '[title="^Velmor$"] kill' >/dev/null
# The user's window, full screen on the left output and with the keyboard: whatever it is typed
# goes to a file.
spawn_as_wayland_user "$wayland_dir/foot.log" foot -o "colors.background=${terminal#\#}" \
  sh -c "cat >'$typed'"
desktop_pids+=("$spawned")
terminal_up() { look && near "${before[0]}" "$terminal" && near "${before[9]}" "$bar"; }
check "the terminal fills the left output, the bar tops the right one" within 10 terminal_up
seen
t0=$(date +%s.%N)
velmor_command --now &
# The keys go at fixed times whatever the screenshots cost: before 7.3 s, and after.
(sleep_until "$t0" 4.5 && type_keys -k a) &
(sleep_until "$t0" 9.8 && type_keys -k b) &
sample "$t0" 4
echo "  the fade on each output (seconds after --now, colour):"
paste "$wayland_dir/left.txt" "$wayland_dir/right.txt" | sed 's/^/    /'
# Over the terminal on the left, over the desktop on the right: the panels blend with what is
# under them, as only a surface above it can.
check "the left output fades in over the terminal through ~1 s and ~2 s" \
  fading "0.4-1.6 1.4-2.9" "$terminal" <"$wayland_dir/left.txt"
check "the right output fades in over the desktop through ~1 s and ~2 s" \
  fading "0.4-1.6 1.4-2.9" "$desktop" <"$wayland_dir/right.txt"
check "both outputs end the fade covered edge to edge, bar and terminal too" within 4 covered
seen
no_velmor_window() {
  local tree
  tree=$(as_wayland_user swaymsg -t get_tree) &&
    ! grep -q '"app_id": "velmor"' <<<"$tree" && grep -q '"fullscreen_mode": 1' <<<"$tree"
}
check "the panels are no windows: the terminal stays full screen under them" no_velmor_window
# Had the first key counted, the background would be leaving from 8 s on.
sleep_until "$t0" 8.6
check "a key before 7.3 s leaves the overlay as it was" covered
seen
# The line in the middle of the main (primary, left) output; the other shows the colour alone.
colours_in() { convert "$wayland_dir/all.ppm" -crop "$1" +repage -format %k info:; }
prompt_on_main_only() { [ "$(colours_in 1920x400+0+340)" -gt 2 ] && [ "$(colours_in 1920x400+1920+340)" -eq 1 ]; }
check "the prompt shows on the main output only" prompt_on_main_only
sleep_until "$t0" 10.8
keyed=$(awk -v a="$t0" 'BEGIN {printf "%.3f", a + 9.8}')
check "a key after 7.3 s fades the overlay out rather than cutting it" covered
check "a key after 7.3 s dismisses the overlay" within 10 clear_desktop
seen
echo "  (desktop back $(since "$keyed") s after the key)"
# The terminal had the keyboard before the overlay; it has it again.
as_wayland_user wtype -s 300 "back to work" -k Return
check "the full-screen terminal has the keyboard back after the overlay" \
  wait_until grep -q "to work" "$typed"

t0=$(date +%s.%N)
velmor_command --now
check "a second overlay covers both outputs" within 8 covered
type_keys -k Escape
escaped=$(date +%s.%N)
# A fade-out would leave the panels over the outputs until 6.5 s.
check "Escape removes the overlay at once" within 4.5 clear_desktop
echo "  (desktop back $(since "$escaped") s after Escape)"

velmor_command --now
within 8 covered
# A third output is plugged in (right of the others): the screens changed, the overlay goes.
as_wayland_user swaymsg create_output >/dev/null
check "a new output removes the overlay from every output" within 6 clear_desktop
seen

stop_velmor
check "no window-opacity warnings nor fall-back on sway" \
  bash -c "! grep -Eq 'does not support setting window opacity|using windows of its own' '$log'"
cp "$log" "$wayland_dir/sway-velmor.log"

echo "== weston, one output"
kill "${desktop_pids[-1]}" && wait "${desktop_pids[-1]}" 2>/dev/null
unset WAYLAND_DISPLAY SWAYSOCK
# The corners and side edges: the main window weston opens at launch is somewhere in between.
points=(0,0 1919,0 0,1079 1919,1079 0,540 1919,540)
start_weston 1920x1080 "$desktop" || exit 1
check "starts on weston" start_velmor
desktop_only() { look && for c in "${before[@]}"; do near "$c" "$desktop" || return 1; done; }
check "the output's edges show the desktop before the overlay" within 5 desktop_only
check "no layer shell on weston: one line says the overlay uses windows of its own" \
  test "$(grep -c 'using windows of its own' "$log")" -eq 1
velmor_command --now
sleep 4.3
check "the output is covered edge to edge in the theme colour" covered
velmor_command --pause
check "--pause removes the overlay at once" within 3 clear_desktop
check "no window-opacity warnings on weston" bash -c "! grep -q 'does not support setting window opacity' '$log'"
stop_velmor

if [ "$failures" -gt 0 ]; then
  echo "--- program output on sway:"; tail -20 "$wayland_dir/sway-velmor.log"
  echo "--- program output on weston:"; tail -20 "$log"
fi
report
