#!/usr/bin/env bash
# Two real Velmors, two homes, one sync folder, and what sync programs, drives and other people
# do to such a folder. "folders": a file cut short while the user edits, a file from a newer
# Velmor, links and special files, a run without the folder, both computers saving at once.
# "mounts" (needs root): a drive mounted after the start, a full data disk.
#   sync_test.sh VELMOR folders|mounts
set -uo pipefail
velmor=$1
mode=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: run through scripts/run-tests.sh"; exit 1; }
if [ "$mode" = mounts ] && [ "$(id -u)" != 0 ]; then
  echo "mounting a drive needs root: skipped"
  exit 77
fi
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "python3-pyatspi is not installed"; exit 77; }
# A session bus of its own, with the accessibility bus on it, to read the windows.
if [ -z "${VELMOR_SYNC_TEST_BUS:-}" ]; then
  exec env VELMOR_SYNC_TEST_BUS=1 dbus-run-session -- "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
source "$here/checks.sh"
work=$(mktemp -d /tmp/velmor-sync.XXXXXX)
shared=$work/Sync
mounts=()
cleanup() {
  for n in a b; do stop "$n"; done
  for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null; done
  kill "$launcher" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# ---- two computers ------------------------------------------------------------------------

home() { echo "$work/$1"; }
data() { echo "$work/$1/.local/share/velmor"; }
log() { echo "$work/$1.log"; }
pid_a='' pid_b='' # set by launch, read through eval
export pid_a pid_b

# computer NAME FOLDER [PROMPT...]: a home whose settings hold FOLDER and whose library holds
# the prompts (as an earlier run left them).
computer() {
  local name=$1 folder=$2; shift 2
  mkdir -p "$(home "$name")/.config/velmor" "$(data "$name")" "$(home "$name")/runtime"
  chmod 700 "$(home "$name")/runtime"
  printf '{"syncFolder": "%s"}\n' "$folder" >"$(home "$name")/.config/velmor/settings.json"
  [ $# -gt 0 ] && library_with "$@" >"$(data "$name")/user-library.json"
}
library_with() { # PROMPT...: a library file holding these prompts
  /usr/bin/python3 - "$@" <<'EOF'
import json, sys
print(json.dumps({"favoriteIds": [], "hiddenIds": [], "schemaVersion": 1, "userPrompts": [
    {"category": "question", "id": p, "packSource": "user", "text": "text " + p}
    for p in sys.argv[1:]]}))
EOF
}
launch() { # NAME: starts that computer's Velmor; its pid in pid_NAME
  local h
  h=$(home "$1")
  HOME=$h XDG_CONFIG_HOME=$h/.config XDG_DATA_HOME=$h/.local/share XDG_RUNTIME_DIR=$h/runtime \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    "$velmor" >"$(log "$1")" 2>&1 &
  eval "pid_$1=$!"
}
ready() { within 20 grep -q "Sync folder" "$(log "$1")"; } # NAME: its sync has looked
start() { launch "$1" && ready "$1"; }
stop() { # NAME: as the desktop ends it
  local pid
  pid=$(eval echo "\${pid_$1:-}")
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  eval "pid_$1="
}
user() { # NAME ACTION...: what the user does in that Velmor's window
  local name=$1
  shift
  /usr/bin/python3 "$here/sync_window.py" "$(eval echo "\$pid_$name")" "$@"
}
says() { # NAME TEXT: the sync block says it
  user "$1" status >"$work/said" && grep -qF -- "$2" "$work/said"
}

# Reading the files back.
prompts_of() { # FILE: the ids of the live prompts in a library or sync file, sorted
  /usr/bin/python3 - "$1" 2>/dev/null <<'EOF'
import json, sys
d = json.load(open(sys.argv[1]))
ids = [p["id"] for p in d["userPrompts"]] if "userPrompts" in d else \
      [e["id"] for e in d["prompts"] if "p" in e]
print(" ".join(sorted(ids)))
EOF
}
set_aside_in() { # FILE: how many prompts the library file has set aside
  /usr/bin/python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))["hiddenIds"]))' \
    "$1" 2>/dev/null
}
own_file() { # NAME: that computer's file in the shared folder
  local id
  id=$(/usr/bin/python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["device"])' \
    "$(data "$1")/sync-state.json" 2>/dev/null)
  [ -n "$id" ] && echo "$shared/Velmor/device-$id.json"
}
holds() { [ "$(prompts_of "$(data "$1")/user-library.json")" = "$2" ]; }        # NAME IDS
both_hold() { holds a "$1" && holds b "$1"; }                                    # IDS
file_holds() { [ "$(prompts_of "$1")" = "$2" ]; }                                # FILE IDS
sets_aside() { [ "$(set_aside_in "$(data "$1")/user-library.json")" = "$2" ]; } # NAME COUNT
no_longer_says() { ! says "$1" "$2"; }
is_regular() { [ -f "$1" ] && [ ! -L "$1" ]; }

fresh_pair() { # the shared folder, chosen at an earlier run, and two computers using it
  stop a; stop b
  rm -rf "$shared" "$work/a" "$work/b"
  mkdir -p "$shared/Velmor"
  echo "chosen" >"$shared/Velmor/velmor-sync-folder.txt"
  computer a "$shared" A1 A2
  computer b "$shared" B1
}

# ---- the cases ----------------------------------------------------------------------------

case_cut_short() {
  echo "== a file cut short while the user edits"
  fresh_pair
  start a; start b
  check "both computers hold every prompt" within 20 both_hold "A1 A2 B1"
  local fa
  fa=$(own_file a)
  check "each writes a file of its own" test -f "$fa" -a -f "$(own_file b)"
  # The sync program is writing the other computer's file in place on this computer.
  stop a
  cp "$fa" "$work/whole"
  head -c "$(($(stat -c %s "$work/whole") / 2))" "$work/whole" >"$fa"
  cp "$fa" "$work/half"
  user b aside 0 >/dev/null
  check "the user's change is kept" within 10 sets_aside b 1
  check "and the prompts of the cut file stay" holds b "A1 A2 B1"
  check "and go on in this computer's file" within 10 file_holds "$(own_file b)" "A1 A2 B1"
  check "the cut file is never written" cmp -s "$fa" "$work/half"
  check "the window says it could not be read" within 10 says b "could not be read"
  cp "$work/whole" "$fa" # the sync program is done
  start a
  check "the other computer gets the change" within 15 sets_aside a 1
  check "the window no longer names the file" within 10 no_longer_says b "could not be read"
}

case_newer_and_special_files() {
  echo "== a file from a newer Velmor, links and special files"
  fresh_pair
  start a; start b
  check "both computers hold every prompt" within 20 both_hold "A1 A2 B1"
  local v=$shared/Velmor victim=$work/b/.bashrc newer fb
  newer='{"velmorSync":2,"everything":"else"}'
  echo "$newer" >"$v/device-ffffffffffffffff.json"
  echo "export KEEP=1" >"$victim"
  ln -s "$victim" "$v/device-0000000000000001.json"
  ln -s /dev/zero "$v/device-0000000000000002.json"
  mkfifo "$v/device-0000000000000003.json"
  truncate -s 3G "$v/device-0000000000000004.json" # sparse
  fb=$(own_file b)
  rm -f "$fb" && ln -s "$victim" "$fb" # planted where this computer writes
  user b aside 1 >/dev/null
  check "the user's change is kept" within 10 sets_aside b 1
  check "and reaches the other computer" within 15 sets_aside a 1
  check "nothing is written through a link" test "$(cat "$victim")" = "export KEEP=1"
  check "this computer's file is its own again" is_regular "$fb"
  check "the newer file is left as it was" test "$(cat "$v/device-ffffffffffffffff.json")" = "$newer"
  check "the prompts stay" both_hold "A1 A2 B1"
  user b status >"$work/status"
  check "the window says the newer file is left alone" grep -q "comes from a newer Velmor" "$work/status"
  check "and names the links and the pipe" test "$(grep -c "is not a regular file" "$work/status")" = 3
  check "and the huge file" grep -q "device-0000000000000004.json is larger than" "$work/status"
  check "memory stays small" test "$(awk '/^VmRSS/ {print $2}' "/proc/$pid_b/status")" -lt 300000
}

case_a_run_without_the_folder() {
  echo "== a run without the folder, then one with it"
  fresh_pair
  start a; start b
  check "both computers hold every prompt" within 20 both_hold "A1 A2 B1"
  stop b
  mv "$shared" "$work/away"
  start b
  check "the window says it waits for the folder" within 10 says b "Waiting for the folder"
  user b aside 0 >/dev/null
  check "the user's change is kept" within 10 sets_aside b 1
  check "and nothing is made where the folder was" test ! -e "$shared"
  stop b
  mv "$work/away" "$shared"
  start b
  check "the change made meanwhile reaches the other computer" within 15 sets_aside a 1
  check "and stays here" sets_aside b 1
}

case_saving_at_once() {
  echo "== both computers saving in the same instant"
  fresh_pair
  start a; start b
  check "both computers hold every prompt" within 20 both_hold "A1 A2 B1"
  stop a; stop b
  # Each had a change of its own waiting (made by hand, or by an older Velmor); both start and
  # write in the same moment.
  library_with A1 A2 B1 A3 >"$(data a)/user-library.json"
  library_with A1 A2 B1 B2 >"$(data b)/user-library.json"
  launch a; launch b
  ready a; ready b
  check "both changes reach both computers" within 20 both_hold "A1 A2 A3 B1 B2"
}

# A drive mounted after the start: the empty mount point is waited for, never written, and
# neither computer loses what the other had.
case_late_mount() {
  echo "== a drive mounted after the start"
  fresh_pair
  local point=$work/mnt
  mkdir -p "$point"
  computer b "$point" B1
  start a; start b
  check "the other computer syncs" within 20 test -n "$(own_file a)"
  check "the window says it waits for the folder" within 10 says b "Waiting for the folder"
  user b aside 0 >/dev/null
  check "the user's change is kept meanwhile" within 10 sets_aside b 1
  check "nothing is written on the mount point" test -z "$(ls -A "$point")"
  mount --bind "$shared" "$point" && mounts+=("$point")
  check "once mounted, both computers hold every prompt" within 20 both_hold "A1 A2 B1"
  check "and the change made meanwhile" within 15 sets_aside a 1
  check "the other computer's file still holds its prompts" file_holds "$(own_file a)" "A1 A2 B1"
}

# The data disk is full: older files and conflict copies in the folder are folded in, but stay
# where they are until they can be kept whole.
case_full_data_disk() {
  echo "== a full data disk"
  stop a; stop b
  rm -rf "$shared" "$work/a" "$work/b"
  mkdir -p "$shared/Velmor"
  library_with OLD >"$shared/Velmor/user-library.json"
  library_with THEIRS >"$shared/Velmor/user-library.sync-conflict-20261205-101500-ABCDEFG.json"
  mkdir -p "$work/originals" && cp "$shared/Velmor/"*.json "$work/originals/"
  computer b "$shared" B1
  local disk=$work/b/.local/share f
  mv "$disk" "$work/data-before" && mkdir -p "$disk"
  mount -t tmpfs -o size=256k tmpfs "$disk" && mounts+=("$disk")
  cp -a "$work/data-before/." "$disk/"
  dd if=/dev/zero of="$disk/filler" bs=1k count=512 2>/dev/null # fills what is left
  start b
  check "the window says the folder is synced" within 10 says b "Syncing"
  for f in "$work/originals/"*.json; do
    check "$(basename "$f") stays in the folder as it was" cmp -s "$f" "$shared/Velmor/$(basename "$f")"
  done
  check "no half-kept copy is left" test -z "$(find "$disk/velmor/resolved-conflicts" -type f -size -1 2>/dev/null)"
  rm -f "$disk/filler"
  touch "$shared/Velmor/user-library.json" # the folder changes, and is looked at again
  local kept=$disk/velmor/resolved-conflicts
  check "once there is room, the copies are kept" within 40 test -f "$kept/user-library.sync-conflict-20261205-101500-ABCDEFG.json"
  for f in "$work/originals/"*.json; do
    check "$(basename "$f") is kept whole" cmp -s "$f" "$kept/$(basename "$f")"
  done
  check "and folded in" holds b "B1 OLD THEIRS"
}

if [ "$mode" = mounts ]; then
  case_late_mount
  case_full_data_disk
else
  case_cut_short
  case_newer_and_special_files
  case_a_run_without_the_folder
  case_saving_at_once
fi
report
