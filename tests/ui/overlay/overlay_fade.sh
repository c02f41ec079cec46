#!/usr/bin/env bash
# Runs the on-screen fade test on a display of its own with a window manager and a compositor,
# as a desktop has them: the compositor is what reads the overlay's opacity.
#   overlay_fade.sh TEST_PROGRAM
set -uo pipefail
source "$(dirname "$0")/../../../scripts/lib/desktop.sh"
start_xvfb 1920x1080
use_private_home
start_window_manager_and_compositor
"$1"
