#!/usr/bin/env bash
# The idle program: velmor started with an empty home and left alone for 30 s. Prints its
# wakeups (voluntary context switches) while it waits, its CPU time and its peak memory.
set -uo pipefail
build_dir=${1:-build}
seconds=${IDLE_SECONDS:-30}
cd "$(dirname "$0")/.."
work=$(mktemp -d /tmp/velmor-idle.XXXXXX)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display=120
  while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
  Xvfb ":$display" -noreset -screen 0 1920x1080x24 >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

"$build_dir/velmor" >"$work/out.log" 2>&1 &
pid=$!
pids+=($pid)
sleep 3 # let the launch settle
field() { awk -v k="$1" '$1 == k":" {print $2}' "/proc/$pid/status"; }
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
threads_ctx() { # voluntary switches summed over all threads of the process
  local total=0
  for t in /proc/$pid/task/*; do
    total=$((total + $(awk '$1 == "voluntary_ctxt_switches:" {print $2}' "$t/status")))
  done
  echo $total
}
start_ctx=$(threads_ctx); start_cpu=$(cpu)
sleep "$seconds"
if ! kill -0 "$pid" 2>/dev/null; then echo "velmor exited early:"; cat "$work/out.log"; exit 1; fi
end_ctx=$(threads_ctx); end_cpu=$(cpu)
hz=$(getconf CLK_TCK)
echo "idle ${seconds} s: $((end_ctx - start_ctx)) wakeups (voluntary context switches, all threads; target 0)"
awk -v c=$((end_cpu - start_cpu)) -v hz="$hz" 'BEGIN {printf "idle %d s: CPU time %.0f ms\n", '"$seconds"', 1000 * c / hz}'
echo "peak RSS: $(field VmHWM) kB; threads: $(ls /proc/$pid/task | wc -l)"
echo "its output: $(tr '\n' '|' <"$work/out.log")"
