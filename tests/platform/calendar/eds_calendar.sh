#!/usr/bin/env bash
# Runs the Evolution Data Server cases on a session bus of their own, in a private home, where
# the EDS services can be activated but do not run yet.
#   eds_calendar.sh TEST_PROGRAM
set -uo pipefail
source "$(dirname "$0")/../../../scripts/lib/desktop.sh"
use_private_home
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$desktop_work/runtime"
mkdir -p "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export GSETTINGS_BACKEND=memory VELMOR_EDS_TEST_BUS=1
unset DBUS_SESSION_BUS_ADDRESS
timeout -k 5 110 dbus-run-session -- "$1"
