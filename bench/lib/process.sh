# Sourced by benchmarks: figures of a running process read from /proc.

# "tid count" lines: voluntary context switches of each thread of the process.
thread_wakeups() {
  local t
  for t in /proc/"$1"/task/*; do
    echo "${t##*/} $(awk '$1 == "voluntary_ctxt_switches:" {print $2}' "$t/status" 2>/dev/null)"
  done
}

# CPU time (user + system) of the process in clock ticks.
process_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# watch_process PID SECONDS LABEL: prints wakeups, CPU time and peak memory over the window.
# Wakeups are summed per thread; a worker thread that a library's pool retires during the
# window is counted up to its last look.
watch_process() {
  local pid=$1 seconds=$2 label=$3 before after ticks0 ticks1 wakeups
  before=$(thread_wakeups "$pid"); ticks0=$(process_ticks "$pid")
  sleep "$seconds"
  if ! kill -0 "$pid" 2>/dev/null; then echo "$label: the process exited early"; return 1; fi
  after=$(thread_wakeups "$pid"); ticks1=$(process_ticks "$pid")
  wakeups=$(awk 'NR == FNR {start[$1] = $2; next} {total += $2 - ($1 in start ? start[$1] : 0)}
                 END {print total + 0}' <(echo "$before") <(echo "$after"))
  echo "$label ${seconds} s: $wakeups wakeups (voluntary context switches, all threads)"
  awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v l="$label" \
    'BEGIN {printf "%s %d s: CPU time %.0f ms\n", l, s, 1000 * t / hz}'
  echo "$label: peak RSS $(awk '$1 == "VmHWM:" {print $2}' "/proc/$pid/status") kB," \
    "threads $(ls /proc/"$pid"/task | wc -l)"
}
