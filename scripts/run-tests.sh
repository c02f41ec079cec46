#!/usr/bin/env bash
# Runs every test against real components: an Xvfb display with two monitors, a private
# PulseAudio server with null sinks and a session bus, all started here and stopped on exit. Each test makes its
# own HOME and XDG folders.
set -uo pipefail
build_dir=${1:-build}
shift || true # further arguments go to ctest (a label or name filter)
cd "$(dirname "$0")/.."
source scripts/lib/desktop.sh

start_xvfb 3840x1080
split_into_two_monitors
start_sound_server
start_session_bus
use_private_home

ctest --test-dir "$build_dir" --output-on-failure -j 2 --timeout 300 "$@"
