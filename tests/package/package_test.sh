#!/usr/bin/env bash
# The package as a user gets it. First Debian's and the desktop's own checks of its files, then
# the program started from the package's files extracted into a temporary root, on a private X
# server with a sound server and a session bus: it answers --version and -h, finds its prompts,
# fonts, sounds and icons, puts an old login entry right, starts at login without a window,
# quits on --quit, and with LANGUAGE=de its window speaks German (read over AT-SPI).
#   package_test.sh VELMOR.deb
set -uo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
source "$top/scripts/lib/desktop.sh"
source "$top/tests/app/checks.sh"
work=$desktop_work
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; stop_desktop; }
trap cleanup EXIT

echo "--- lintian"
lintian --fail-on error --display-info "$deb"
check "lintian finds no errors" test $? -eq 0

root="$work/root"
dpkg -x "$deb" "$root"
velmor="$root/usr/bin/velmor"
id=app.velmor.Velmor
share="$root/usr/share"
check "the metainfo validates" appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
check "the desktop entry validates" desktop-file-validate "$share/applications/$id.desktop"
version=$(dpkg-deb -f "$deb" Version)
check "--version exits 0 with the package's version" \
  test "$("$velmor" --version)" = "Velmor $version"
check "-h exits 0 with the options" bash -c "'$velmor' -h | grep -q -- --background"
check "the metainfo's latest release is this version" \
  grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml"
check "the man page is there" test -s "$share/man/man1/velmor.1.gz"
for size in 16 24 32 48 64 128 256; do
  check "a ${size}px icon" bash -c "file '$share/icons/hicolor/${size}x${size}/apps/$id.png' | grep -q '$size x $size'"
done
check "the program is stripped" bash -c "file -L '$velmor' | grep -q ', stripped'"

start_xvfb 1920x1080
start_sound_server
start_session_bus
use_private_home
export XDG_DATA_DIRS="$share:/usr/share" PATH="$root/usr/bin:$PATH" LANGUAGE=en
has_visible_main_window() { visible_main_window >/dev/null; }
velmor_plays() { pactl list sink-inputs 2>/dev/null | grep -q 'application.process.binary = "velmor"'; }
# The leaf's gold and its dark tile in one of the icons the window hands the X server.
window_icon_is_the_leaf() {
  xprop -id "$1" -notype 32c _NET_WM_ICON | python3 -c '
import sys
values = [int(v) for v in sys.stdin.read().split("=", 1)[1].replace(",", " ").split()]
colours = set()
while len(values) > 2:
    w, h = values[0], values[1]
    colours |= {v & 0xffffff for v in values[2:2 + w * h] if v >> 24 == 0xff}
    values = values[2 + w * h:]
near = lambda c, r, g, b: all(abs(((c >> s) & 255) - x) <= 8 for s, x in ((16, r), (8, g), (0, b)))
sys.exit(0 if any(near(c, 0xd1, 0xad, 0x6b) for c in colours)
         and any(near(c, 0x25, 0x25, 0x2a) for c in colours) else 1)'
}

# Started as from the menu on a desktop without a tray, with an older version's login entry that
# points at a build folder since deleted.
test_entry="$XDG_CONFIG_HOME/autostart/velmor.desktop"
mkdir -p "$(dirname "$test_entry")"
printf '[Desktop Entry]\nType=Application\nName=Velmor\nExec=/gone/build/velmor\n' >"$test_entry"
"$velmor" >"$work/out.log" 2>&1 &
pid=$!
wait_seconds=10
check "it loads its starter prompts" wait_until grep -qE "Loaded [1-9][0-9]* starter prompts" "$work/out.log"
check "its window opens" wait_until has_visible_main_window
window=$(visible_main_window)
check "the window carries the leaf" window_icon_is_the_leaf "$window"
check "it finds its fonts" bash -c "! grep -q 'Font not loaded' '$work/out.log'"
check "the old login entry is gone" test ! -e "$test_entry"
check "the login entry starts the program on PATH in the background" \
  grep -qx "Exec=velmor --background" "$XDG_CONFIG_HOME/autostart/$id.desktop"
check "and validates" desktop-file-validate "$XDG_CONFIG_HOME/autostart/$id.desktop"
"$velmor" --now
check "--now rings its sound" wait_until velmor_plays
"$velmor" --quit >"$work/quit.log" 2>&1
check "--quit exits 0" test $? -eq 0
check "the running program takes it" bash -c "! grep -q 'not running' '$work/quit.log'"
check "and ends" wait_until bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid"
check "with status 0" test $? -eq 0
pid=

# A start at login opens no window, tray or no tray. A second launch is answered only from the
# event loop, so once it is, the first has finished starting.
"$velmor" --background >"$work/background.log" 2>&1 &
pid=$!
check "--background starts" wait_until grep -q "starter prompts" "$work/background.log"
check "and answers a second launch" "$velmor" --background
check "without a window" no_main_window
"$velmor" --quit
check "--quit ends it" wait_until bash -c "! kill -0 $pid 2>/dev/null"
pid=
"$velmor" --quit >"$work/none.log" 2>&1
check "--quit with none running exits 0" test $? -eq 0
check "and starts nothing" bash -c "! grep -q 'starter prompts' '$work/none.log'"

LANGUAGE=de "$top/tests/support/atspi-run.sh" "$here/german_window.py" "$velmor"
check "with LANGUAGE=de the window speaks German" test $? -eq 0

report
