#!/usr/bin/env bash
# Pictures of every section of the main window, light and dark, at scale 1 and 2:
#   scripts/screenshot-screens.sh [OUTDIR] [THEME]
# Writes OUTDIR/{1x,2x}/<section>-<light|dark>.png.
set -euo pipefail
outdir=${1:-window-shots}
theme=${2:-charcoal}
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/desktop.sh"
shots=$(find_built velmor-window-shots)
mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)

start_xvfb 1920x1080
use_private_home
for scale in 1 2; do
  for appearance in light dark; do
    QT_SCALE_FACTOR=$scale "$shots" "$outdir/${scale}x" "$appearance" "$theme"
  done
done
