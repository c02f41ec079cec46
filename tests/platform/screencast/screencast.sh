#!/usr/bin/env bash
# Runs the screen-cast cases against PipeWire and WirePlumber started here, on a session bus
# and runtime folder of their own, in a private home.
#   screencast.sh TEST_PROGRAM
set -uo pipefail
source "$(dirname "$0")/../../../scripts/lib/desktop.sh"
use_private_home
export XDG_RUNTIME_DIR="$desktop_work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS PIPEWIRE_REMOTE
command -v pipewire >/dev/null && command -v wireplumber >/dev/null || {
  echo "pipewire or wireplumber is not installed"; exit 77; }
timeout -k 5 110 dbus-run-session -- bash -c '
  pipewire >"$XDG_RUNTIME_DIR/pipewire.log" 2>&1 & pw=$!
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.05; done
  wireplumber >"$XDG_RUNTIME_DIR/wireplumber.log" 2>&1 & wp=$!
  "$1"; status=$?
  kill $wp $pw; wait $wp $pw 2>/dev/null
  exit $status' screencast "$1"
