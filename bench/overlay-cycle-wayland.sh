#!/usr/bin/env bash
# Measures overlay cycles of the program on native Wayland: headless sway (pixman) with two
# 1920x1080 outputs, the overlay on both, on the layer shell. Each run: `velmor --now`, a key at
# 8.5 s, and the wait until both outputs show the desktop again. Prints the CPU time of the cycle
# for Velmor and for sway, and the time from `velmor --now` to the first change on screen: the
# first frame is transparent and the fade starts slowly, so this is when the first visible step
# of the background shows (one pixel read back over and over, as the user would see it).
#   bench/overlay-cycle-wayland.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build_dir=${1:-}
runs=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/scripts/lib/wayland.sh"
source "$root/bench/lib/process.sh"
velmor=$(find_built velmor "$build_dir")

mkdir -p "$wayland_dir/home/.config/velmor"
echo '{"overlayScope": "Every screen"}' >"$wayland_dir/home/.config/velmor/settings.json"
[ -n "$wayland_user" ] && chown -R "$wayland_user:$wayland_group" "$wayland_dir/home"
start_sway 1920x1080 '#3a6ea5'
sway=${desktop_pids[-1]}

spawn_as_wayland_user "$wayland_dir/velmor.log" env QT_QPA_PLATFORM=wayland "$velmor"
velmor_pid=$spawned
desktop_pids+=("$velmor_pid")
for _ in $(seq 100); do grep -q "starter prompts" "$wayland_dir/velmor.log" && break; sleep 0.1; done
sleep 2 # start-up done and idle
# Without a tray the main window opens at launch: closed, only the panels are the program's.
as_wayland_user swaymsg '[title="^Velmor$"] kill' >/dev/null
sleep 0.5

desktop=$(as_wayland_user grim -g "960,540 1x1" -t ppm - | tail -c 3 | od -An -tx1 | tr -d ' \n')
ms() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.0f", 1000 * t / hz}'; }
pixel() { as_wayland_user grim -g "$1 1x1" -t ppm - 2>/dev/null | tail -c 3 | od -An -tx1 | tr -d ' \n'; }
# When the screen first shows something other than the desktop (nothing within 300 looks).
first_change() {
  for _ in $(seq 300); do
    [ "$(pixel 960,200)" != "$desktop" ] && { date +%s.%N; return 0; }
  done
  return 0
}
both_clear() { [ "$(pixel 960,540)" = "$desktop" ] && [ "$(pixel 2880,540)" = "$desktop" ]; }

for run in $(seq "$runs"); do
  echo "run $run:"
  v0=$(process_ticks "$velmor_pid"); s0=$(process_ticks "$sway")
  t0=$(date +%s.%N)
  as_wayland_user env QT_QPA_PLATFORM=wayland "$velmor" --now >/dev/null 2>&1 &
  now_pid=$!
  first=$(first_change)
  wait "$now_pid"
  # Between the fades (all shown by 7.3 s) nothing should run: wakeups over the last second.
  sleep "$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN {d = a + 7.5 - b; print (d > 0 ? d : 0)}')"
  w0=$(thread_wakeups "$velmor_pid")
  sleep "$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN {d = a + 8.5 - b; print (d > 0 ? d : 0)}')"
  still=$(awk 'NR == FNR {start[$1] = $2; next} {total += $2 - ($1 in start ? start[$1] : 0)}
               END {print total + 0}' <(echo "$w0") <(thread_wakeups "$velmor_pid"))
  # Twice: a new virtual keyboard's first key can arrive before its keymap and be lost.
  as_wayland_user wtype -s 300 -k space -s 300 -k space
  for _ in $(seq 150); do both_clear && break; sleep 0.1; done
  t1=$(date +%s.%N)
  v1=$(process_ticks "$velmor_pid"); s1=$(process_ticks "$sway")
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "  cycle (--now to both panels gone): %.1f s\n", b - a}'
  echo "  Velmor CPU time over the cycle: $(ms $((v1 - v0))) ms"
  echo "  sway CPU time over the cycle (with the pixels read back): $(ms $((s1 - s0))) ms"
  echo "  Velmor wakeups over the still second from 7.5 s to 8.5 s: $still"
  if [ -n "$first" ]; then
    awk -v a="$t0" -v b="$first" 'BEGIN {printf "  velmor --now to the first change on screen: %.0f ms\n", 1000 * (b - a)}'
  else
    echo "  velmor --now to the first change on screen: none seen"
  fi
  sleep 1
done
# With the desktop's animations off the first frame carries the whole colour: what the first
# change on screen measures then is the way to the first frame, not the fade's slow start. One
# look at the screen (a grim of one pixel) takes a few tens of milliseconds of its own.
printf '[KDE]\nAnimationDurationFactor=0\n' >"$wayland_dir/home/.config/kdeglobals"
[ -n "$wayland_user" ] && chown "$wayland_user:$wayland_group" "$wayland_dir/home/.config/kdeglobals"
for run in $(seq "$runs"); do
  t0=$(date +%s.%N)
  (as_wayland_user env QT_QPA_PLATFORM=wayland "$velmor" --now >/dev/null 2>&1
    date +%s.%N >"$wayland_dir/handed-over") &
  now_pid=$!
  first=$(first_change)
  wait "$now_pid"
  if [ -n "$first" ]; then
    awk -v a="$t0" -v b="$first" -v h="$(cat "$wayland_dir/handed-over")" -v r="$run" 'BEGIN {
      printf "animations off, run %d: velmor --now to the first frame on screen: %.0f ms", r, 1000 * (b - a)
      printf " (the --now process itself, start to exit: %.0f ms)\n", 1000 * (h - a)}'
  else
    echo "animations off, run $run: no frame seen"
  fi
  as_wayland_user wtype -s 300 -k Escape -s 300 -k Escape
  for _ in $(seq 100); do both_clear && break; sleep 0.1; done
  sleep 1
done
rm -f "$wayland_dir/home/.config/kdeglobals"
grep 'using full-screen windows' "$wayland_dir/velmor.log" || true
if grep -q 'does not support setting window opacity' "$wayland_dir/velmor.log"; then
  echo "window-opacity warnings: $(grep -c 'does not support setting window opacity' "$wayland_dir/velmor.log")"
fi
