#!/usr/bin/env bash
# Screenshots of one overlay as the user sees it: a private Xvfb with a window manager (openbox)
# and a compositor (xcompmgr), so the background fade is real, and a window of "work" underneath.
# Writes OUTDIR/overlay-2s.png, -5s.png and -8s.png.
#   scripts/screenshot-overlay.sh THEME [OUTDIR] [preview options, e.g. --text "..." --work ""]
# The preview program is looked for in $VELMOR_BUILD_DIR, build/ and build-overlay/.
set -euo pipefail
theme=${1:?usage: $0 THEME [OUTDIR] [preview options]}
outdir=${2:-overlay-shots/$theme}
shift
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/scripts/lib/desktop.sh"
preview=$(find_built velmor-overlay-preview)
mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)

start_xvfb 1920x1080
use_private_home
start_window_manager_and_compositor
xsetroot -solid '#7fa7c9'
xmessage -geometry +260+180 -fn fixed \
  "The user's work, untouched underneath: an editor, a chat, a half-written line." &
desktop_pids+=($!)
sleep 1.5

"$preview" --theme "$theme" --shots "$outdir" "$@"
ls "$outdir"/overlay-*.png
