#!/usr/bin/env bash
# A client that writes FLOOD_MB (default 1000) megabytes without a newline to the running
# program's launch socket: how much the program takes before it cuts the client off, and its
# resident memory before, at the peak during, and after the flood.
set -uo pipefail
build_dir=${1:-build}
megabytes=${FLOOD_MB:-1000}
cd "$(dirname "$0")/.."
source scripts/lib/desktop.sh

start_xvfb 1920x1080
start_sound_server
start_session_bus
use_private_home

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
"$build_dir/velmor" >"$desktop_work/out.log" 2>&1 &
pid=$!
desktop_pids+=($pid)
for _ in $(seq 150); do grep -q "starter prompts" "$desktop_work/out.log" && break; sleep 0.1; done
sleep 2
before=$(rss_kb "$pid")
peak=$before
python3 - "$XDG_RUNTIME_DIR/velmor.socket" "$megabytes" >"$desktop_work/flood" <<'PY' &
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.connect(sys.argv[1])
chunk, sent, answer = b"x" * 65536, 0, b""
try:
    while sent < int(sys.argv[2]) * 2**20:
        sent += s.send(chunk)
except OSError:
    pass
try:
    answer = s.recv(100)
except OSError:
    pass
print(sent, answer.decode(errors="replace").strip() or "(none)")
PY
flooder=$!
while kill -0 "$flooder" 2>/dev/null; do
  now=$(rss_kb "$pid"); [ "${now:-0}" -gt "$peak" ] && peak=$now
  sleep 0.05
done
read -r sent answer <"$desktop_work/flood"
after=$(rss_kb "$pid")
echo "socket flood: ${megabytes} MB offered, ${sent} bytes taken before the cut, answer: ${answer}"
echo "socket flood: RSS before ${before} kB, peak ${peak} kB, after ${after} kB"
kill -0 "$pid" 2>/dev/null && echo "socket flood: the program still runs" || echo "socket flood: the program died"
