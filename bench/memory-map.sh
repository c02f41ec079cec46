#!/usr/bin/env bash
# Where the idle program's memory goes: velmor started with an empty home beside a tray host,
# left to settle, then its resident memory split into anonymous and file-backed pages, and the
# files that hold the most resident pages (from /proc/PID/smaps). With NO_TRAY=1 there is no
# tray host: the window opens at launch and is closed before the figures are read.
#   bench/memory-map.sh [BUILD_DIR] [TOP]
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/desktop.sh
velmor=$(find_built velmor "${1:-}") || exit 1
top=${2:-25}
settle=${SETTLE_SECONDS:-8}

start_xvfb 1920x1080
start_sound_server
start_session_bus
use_private_home

if [ -z "${NO_TRAY:-}" ]; then
  start_tray_host
else
  start_window_manager_and_compositor
fi
"$velmor" >"$desktop_work/out.log" 2>&1 &
pid=$!
desktop_pids+=($pid)
if [ -n "${NO_TRAY:-}" ]; then
  # The window opens at launch; close it as the user would (Alt+F4 in openbox).
  xdotool search --sync --onlyvisible --name '^Velmor$' >/dev/null 2>&1
  sleep 1
  window=$(xdotool search --onlyvisible --name '^Velmor$' | head -1)
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
fi
sleep "$settle"

echo "VmRSS $(awk '$1 == "VmRSS:" {print $2}' "/proc/$pid/status") kB after ${settle} s"
awk '/^Rss|^Anonymous|^Shared_Clean|^Private_Clean|^Private_Dirty/ {print "  " $0}' \
  "/proc/$pid/smaps_rollup"
echo "resident kB by file (top $top):"
awk '
  /^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anonymous]"; next }
  $1 == "Rss:" { rss[name] += $2 }
  END { for (n in rss) if (rss[n] > 0) printf "%8d  %s\n", rss[n], n }
' "/proc/$pid/smaps" | sort -rn | head -"$top"
echo "shared libraries mapped: $(awk 'NF >= 6 && $6 ~ /\.so/ {print $6}' "/proc/$pid/maps" | sort -u | wc -l)"
