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

preview=""
for dir in "${VELMOR_BUILD_DIR:-}" "$root/build" "$root/build-overlay"; do
  if [ -n "$dir" ] && [ -x "$dir/velmor-overlay-preview" ]; then
    preview="$dir/velmor-overlay-preview"
    break
  fi
done
if [ -z "$preview" ]; then
  echo "velmor-overlay-preview is not built: cmake --build <build dir> --target velmor-overlay-preview"
  exit 1
fi
for tool in Xvfb openbox xcompmgr import xsetroot xmessage; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)

work=$(mktemp -d /tmp/velmor-shots.XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=140
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -noreset -screen 0 1920x1080x24 +extension RANDR +extension Composite \
  >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$display"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
xcompmgr >"$work/xcompmgr.log" 2>&1 &
pids+=($!)
xsetroot -solid '#7fa7c9'
xmessage -geometry +260+180 -fn fixed \
  "The user's work, untouched underneath: an editor, a chat, a half-written line." &
pids+=($!)
sleep 1.5

"$preview" --theme "$theme" --shots "$outdir" "$@"
ls "$outdir"/overlay-*.png
