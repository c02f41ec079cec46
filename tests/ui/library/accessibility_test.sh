#!/usr/bin/env bash
# Runs the library's accessibility walk with the accessibility bus of at-spi2-core on its own session bus.
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "at-spi2-core is not installed"; exit 77; }
[ -n "${DISPLAY:-}" ] || { echo "no display"; exit 77; }
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  sleep 1
  /usr/bin/python3 "$1" "$2"
  status=$?
  kill $launcher 2>/dev/null
  exit $status' _ "$here/accessibility_test.py" "$program"
