# Sourced by benchmarks: figures of a running process read from /proc.

# Voluntary context switches summed over every thread of the process.
process_wakeups() {
  local total=0 t
  for t in /proc/"$1"/task/*; do
    total=$((total + $(awk '$1 == "voluntary_ctxt_switches:" {print $2}' "$t/status")))
  done
  echo "$total"
}

# CPU time (user + system) of the process in clock ticks.
process_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# watch_process PID SECONDS LABEL: prints wakeups, CPU time and peak memory over the window.
watch_process() {
  local pid=$1 seconds=$2 label=$3 wakeups0 ticks0 wakeups1 ticks1
  wakeups0=$(process_wakeups "$pid"); ticks0=$(process_ticks "$pid")
  sleep "$seconds"
  if ! kill -0 "$pid" 2>/dev/null; then echo "$label: the process exited early"; return 1; fi
  wakeups1=$(process_wakeups "$pid"); ticks1=$(process_ticks "$pid")
  echo "$label ${seconds} s: $((wakeups1 - wakeups0)) wakeups (voluntary context switches, all threads)"
  awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v l="$label" \
    'BEGIN {printf "%s %d s: CPU time %.0f ms\n", l, s, 1000 * t / hz}'
  echo "$label: peak RSS $(awk '$1 == "VmHWM:" {print $2}' "/proc/$pid/status") kB," \
    "threads $(ls /proc/"$pid"/task | wc -l)"
}
