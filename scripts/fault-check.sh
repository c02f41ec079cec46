#!/usr/bin/env bash
# Throws faults a user's machine can throw at the built program, on a private desktop, and prints
# one line per case: "<case>: held" or "<case>: FAILED (<why>)". Not part of the test run.
#   scripts/fault-check.sh [BUILD_DIR] [CASE...]
# Adding a case: write a function case_<name> that returns 0 when the program held, else prints
# why (its last line is reported) and returns 1; then list it in `cases` below. Each case runs in
# a fresh HOME, XDG folders and runtime folder; start the program with start_velmor, which
# stops it again after the case.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/desktop.sh
build_dir=${1:-}
[ $# -gt 0 ] && shift
velmor=$(find_built velmor "$build_dir") || exit 1

start_xvfb 1920x1080
start_sound_server
start_session_bus
use_private_home
pulse_runtime=$XDG_RUNTIME_DIR

# ---- what the cases share -------------------------------------------------------------------

case_dir=
case_pids=()

# A fresh home, XDG folders and runtime folder for one case.
fresh_case_home() {
  case_dir=$(mktemp -d "$desktop_work/case.XXXXXX")
  export HOME="$case_dir/home" XDG_CONFIG_HOME="$case_dir/home/.config"
  export XDG_DATA_HOME="$case_dir/home/.local/share" XDG_RUNTIME_DIR="$case_dir/runtime"
  export PULSE_SERVER="unix:$pulse_runtime/pulse/native"
  mkdir -p "$XDG_CONFIG_HOME/velmor" "$XDG_DATA_HOME/velmor" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# start_velmor [ARG...]: the program in the background, output in $case_dir/out.log; sets pid.
start_velmor() {
  "$velmor" "$@" >>"$case_dir/out.log" 2>&1 &
  pid=$!
  case_pids+=("$pid")
}

stop_case_programs() {
  local p
  for p in "${case_pids[@]}"; do kill -CONT "$p" 2>/dev/null; kill -9 "$p" 2>/dev/null; done
  for p in "${case_pids[@]}"; do wait "$p" 2>/dev/null; done
  case_pids=()
}

# wait_for SECONDS COMMAND...: true once the command succeeds.
wait_for() {
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

started() { grep -q "starter prompts" "$case_dir/out.log" 2>/dev/null; }
alive() { kill -0 "$1" 2>/dev/null; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
lock_holder() { head -1 "$XDG_RUNTIME_DIR/velmor.lock" 2>/dev/null; }

# ---- the cases ------------------------------------------------------------------------------

# The running instance stalls for 2.5 s while a launch asks for an overlay: the launch must
# wait and hand over, never start a second instance.
case_stalled_instance_now() {
  start_velmor
  local first=$pid
  wait_for 15 started || { echo "the first instance did not start"; return 1; }
  kill -STOP "$first"
  "$velmor" --now >"$case_dir/asker.log" 2>&1 &
  local asker=$!
  case_pids+=("$asker")
  sleep 2.5
  ! grep -q "starter prompts" "$case_dir/asker.log" || { echo "a second instance started"; return 1; }
  alive "$asker" || { echo "--now gave up while the instance was stalled"; return 1; }
  kill -CONT "$first"
  wait_for 10 eval "! alive $asker" || { echo "--now still waits after the stall"; return 1; }
  wait "$asker"
  local status=$?
  [ "$status" -eq 0 ] || { echo "--now exited with status $status"; return 1; }
  [ "$(lock_holder)" = "$first" ] || { echo "the lock changed hands"; return 1; }
}

# 1000 MB without a newline on the launch socket: the sender is cut off and memory stays flat.
case_socket_flood() {
  start_velmor
  local first=$pid
  wait_for 15 started || { echo "the instance did not start"; return 1; }
  sleep 3 # the launch settles (calendars open in the background) before memory is measured
  local before after sent
  before=$(rss_kb "$first")
  sent=$(python3 - "$XDG_RUNTIME_DIR/velmor.socket" <<'EOF'
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
try:
    s.connect(sys.argv[1])
except OSError as e:
    print(f"no launch socket: {e}")
    sys.exit(1)
chunk, sent = b"x" * 65536, 0
try:
    while sent < 1000 * 2**20:
        sent += s.send(chunk)
except OSError:
    pass
print(sent)
EOF
) || { echo "${sent:-could not connect}"; return 1; }
  after=$(rss_kb "$first")
  alive "$first" || { echo "the instance died"; return 1; }
  [ "${sent:-0}" -lt $((16 * 2**20)) ] || { echo "it took ${sent} bytes without cutting the line off"; return 1; }
  # Holding the flood would take hundreds of MB; a few MB is the program's own drift.
  [ $((after - before)) -lt 32768 ] || { echo "RSS grew from ${before} to ${after} kB"; return 1; }
  "$velmor" --pause >/dev/null 2>&1 || { echo "no answer to a launch after the flood"; return 1; }
}

# A FIFO or a link to /dev/zero where a data file belongs: the program must still start.
file_fault() { # path, what to put there
  local path=$1
  case $2 in
    fifo) mkfifo "$path" ;;
    zero) ln -s /dev/zero "$path" ;;
  esac
  start_velmor
  local first=$pid rss
  # Stopped early once it holds 1 GB, so a runaway read does not starve the machine.
  started_or_huge() { started || [ "$(rss_kb "$first")" -gt $((1024 * 1024)) ] 2>/dev/null; }
  wait_for 15 started_or_huge
  rss=$(rss_kb "$first")
  if ! started; then
    alive "$first" || { echo "it exited: $(tail -1 "$case_dir/out.log")"; return 1; }
    echo "it did not start (RSS ${rss} kB)"
    return 1
  fi
  [ "${rss:-0}" -lt $((400 * 1024)) ] || { echo "it started with ${rss} kB resident"; return 1; }
  alive "$first" || { echo "it exited after starting"; return 1; }
}
case_settings_fifo() { file_fault "$XDG_CONFIG_HOME/velmor/settings.json" fifo; }
case_settings_dev_zero() { file_fault "$XDG_CONFIG_HOME/velmor/settings.json" zero; }
case_library_fifo() { file_fault "$XDG_DATA_HOME/velmor/user-library.json" fifo; }
case_library_dev_zero() { file_fault "$XDG_DATA_HOME/velmor/user-library.json" zero; }

# Calendars that are not files, or that would expand forever: the program keeps answering.
calendar_fault() { # what to list in calendarFiles
  local listed=$1
  printf '{"calendarFiles": "[\\"%s\\"]"}\n' "$listed" >"$XDG_CONFIG_HOME/velmor/settings.json"
  start_velmor
  local first=$pid
  wait_for 15 started || { echo "it did not start"; return 1; }
  "$velmor" --now >/dev/null 2>&1 # a fire asks the calendars
  sleep 3
  alive "$first" || { echo "it exited: $(tail -1 "$case_dir/out.log")"; return 1; }
  timeout 5 "$velmor" --pause >/dev/null 2>&1 || { echo "no answer to a launch while reading it"; return 1; }
  local rss
  rss=$(rss_kb "$first")
  [ "${rss:-0}" -lt $((400 * 1024)) ] || { echo "RSS ${rss} kB"; return 1; }
}
case_calendar_dev_zero() { calendar_fault /dev/zero; }
case_calendar_fifo() {
  mkfifo "$case_dir/meetings.ics"
  calendar_fault "$case_dir/meetings.ics"
}
case_calendar_endless_time_zone() {
  printf '%s\r\n' BEGIN:VCALENDAR VERSION:2.0 PRODID:-//fault//EN BEGIN:VTIMEZONE TZID:Endless \
    BEGIN:STANDARD DTSTART:16010101T000000 RRULE:FREQ=SECONDLY TZOFFSETFROM:+0100 \
    TZOFFSETTO:+0000 END:STANDARD END:VTIMEZONE BEGIN:VEVENT UID:x DTSTAMP:20260101T000000Z \
    "DTSTART;TZID=Endless:20261206T090000" "DTEND;TZID=Endless:20261206T100000" END:VEVENT \
    END:VCALENDAR >"$case_dir/endless.ics"
  calendar_fault "$case_dir/endless.ics"
}

# The sound server goes away and comes back: the next overlay is heard from the new one.
own_sound_server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=out" \
    >>"$case_dir/pulse.log" 2>&1 &
  sound_pid=$!
  case_pids+=("$sound_pid")
  wait_for 10 pactl info >/dev/null 2>&1
}
heard_on_next_overlay() { # true when an overlay now rings on the server's sink
  local raw="$case_dir/heard.raw"
  parec -d out.monitor --format=s16le --channels=1 --rate=8000 >"$raw" 2>/dev/null &
  local recorder=$!
  "$velmor" --now >/dev/null 2>&1
  sleep 4
  kill "$recorder" 2>/dev/null
  wait "$recorder" 2>/dev/null
  xdotool key Escape 2>/dev/null
  sleep 1
  python3 -c '
import array, sys
data = array.array("h", open(sys.argv[1], "rb").read())
sys.exit(0 if data and max(abs(x) for x in data) > 300 else 1)' "$raw"
}
case_sound_server_restarted() {
  local pulse_dir="$case_dir/pulse-runtime"
  mkdir -p "$pulse_dir" && chmod 700 "$pulse_dir"
  export PULSE_SERVER="unix:$pulse_dir/pulse/native"
  XDG_RUNTIME_DIR=$pulse_dir own_sound_server || { echo "no sound server"; return 1; }
  start_velmor
  wait_for 15 started || { echo "it did not start"; return 1; }
  heard_on_next_overlay || { echo "not heard even before the restart"; return 1; }
  kill "$sound_pid"
  wait "$sound_pid" 2>/dev/null
  XDG_RUNTIME_DIR=$pulse_dir own_sound_server || { echo "the sound server did not come back"; return 1; }
  sleep 8 # the next overlay needs the last one gone
  heard_on_next_overlay || { echo "silent after the sound server restarted"; return 1; }
}

# A full disk under the sync folder (a 64 KiB tmpfs) while files of the older layout wait to be
# folded: this computer's file cannot be written, so they stay exactly as they were.
case_full_sync_folder() {
  local sync="$case_dir/sync" prompt
  mkdir -p "$sync"
  mount -t tmpfs -o size=64k tmpfs "$sync" 2>/dev/null || { echo "cannot mount a tmpfs (not root?)"; return 1; }
  mounted_tmpfs="$sync"
  mkdir -p "$sync/Velmor"
  prompt() { printf '{"category":"question","id":"%s","packSource":"user","text":"%s"}' "$1" "$2"; }
  printf '{"favoriteIds":[],"hiddenIds":[],"schemaVersion":1,"userPrompts":[%s]}' \
    "$(prompt MINE 'what is here now')" >"$sync/Velmor/user-library.json"
  printf '{"favoriteIds":[],"hiddenIds":[],"schemaVersion":1,"userPrompts":[%s]}' \
    "$(prompt THEIRS 'from the other computer')" \
    >"$sync/Velmor/user-library.sync-conflict-20261205-101500-ABCDEFG.json"
  cp "$sync/Velmor/"*.json "$case_dir/"
  dd if=/dev/zero of="$sync/filler" bs=1k count=128 2>/dev/null # fills what is left
  printf '{"syncFolder": "%s"}\n' "$sync" >"$XDG_CONFIG_HOME/velmor/settings.json"
  start_velmor
  wait_for 15 started || { echo "it did not start"; return 1; }
  sleep 3
  alive "$pid" || { echo "it exited: $(tail -1 "$case_dir/out.log")"; return 1; }
  local f
  grep -q "could not be written to the folder" "$case_dir/out.log" || { echo "the fold was never tried"; return 1; }
  for f in "$case_dir/"user-library*.json; do
    cmp -s "$f" "$sync/Velmor/$(basename "$f")" || { echo "$(basename "$f") changed on the full disk"; return 1; }
  done
}

cases=(
  stalled_instance_now
  socket_flood
  settings_fifo
  settings_dev_zero
  library_fifo
  library_dev_zero
  calendar_dev_zero
  calendar_fifo
  calendar_endless_time_zone
  sound_server_restarted
  full_sync_folder
)

# ---- running them ---------------------------------------------------------------------------

run_case() {
  local name=$1 why status
  fresh_case_home
  # Not in a subshell: the case's programs must be known here to be stopped.
  "case_$name" >"$case_dir/why" 2>&1
  status=$?
  why=$(tail -1 "$case_dir/why")
  stop_case_programs
  [ -n "${mounted_tmpfs:-}" ] && umount "$mounted_tmpfs" 2>/dev/null
  mounted_tmpfs=
  if [ "$status" -eq 0 ]; then
    echo "${name//_/ }: held"
  else
    echo "${name//_/ }: FAILED (${why:-no reason given})"
  fi
}

[ $# -gt 0 ] && cases=("$@")
for name in "${cases[@]}"; do run_case "$name"; done
