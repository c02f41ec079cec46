#!/usr/bin/env bash
# Measures overlay cycles of the program on native Wayland: headless sway (pixman) with two
# 1920x1080 outputs, the overlay on both. Each run: `velmor --now`, a key at 8.5 s, and the wait
# until both panels are gone. Prints the CPU time of the cycle for Velmor and for sway, and the
# time from `velmor --now` to the first panel on screen (sway maps a window at its first frame).
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

# Window events from sway, each line prefixed with the time it was read.
wayland_command swaymsg -m -t subscribe '["window"]'
"${wayland_cmd[@]}" | while IFS= read -r line; do echo "$(date +%s.%N) $line"; done \
  >"$wayland_dir/events" 2>/dev/null &
desktop_pids+=($!)
sleep 0.5

ms() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.0f", 1000 * t / hz}'; }
panels() { as_wayland_user swaymsg -t get_tree 2>/dev/null | grep -c '"app_id": "velmor"' || true; }

for run in $(seq "$runs"); do
  echo "run $run:"
  : >"$wayland_dir/events"
  v0=$(process_ticks "$velmor_pid"); s0=$(process_ticks "$sway")
  t0=$(date +%s.%N)
  as_wayland_user env QT_QPA_PLATFORM=wayland "$velmor" --now >/dev/null 2>&1
  for _ in $(seq 50); do grep -q '"change": "new"' "$wayland_dir/events" && break; sleep 0.1; done
  first=$(awk '/"change": "new"/ {print $1; exit}' "$wayland_dir/events")
  sleep "$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN {d = a + 8.5 - b; print (d > 0 ? d : 0)}')"
  # Twice: a new virtual keyboard's first key can arrive before its keymap and be lost.
  as_wayland_user wtype -s 300 -k space -s 300 -k space
  for _ in $(seq 150); do [ "$(panels)" -eq 0 ] && break; sleep 0.1; done
  t1=$(date +%s.%N)
  v1=$(process_ticks "$velmor_pid"); s1=$(process_ticks "$sway")
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "  cycle (--now to both panels gone): %.1f s\n", b - a}'
  echo "  Velmor CPU time over the cycle: $(ms $((v1 - v0))) ms"
  echo "  sway CPU time over the cycle: $(ms $((s1 - s0))) ms"
  if [ -n "$first" ]; then
    awk -v a="$t0" -v b="$first" 'BEGIN {printf "  velmor --now to first panel on screen: %.0f ms\n", 1000 * (b - a)}'
  else
    echo "  velmor --now to first panel on screen: no panel seen"
  fi
  sleep 1
done
if grep -q 'does not support setting window opacity' "$wayland_dir/velmor.log"; then
  echo "window-opacity warnings: $(grep -c 'does not support setting window opacity' "$wayland_dir/velmor.log")"
fi
