#!/usr/bin/env bash
# Runs an accessibility walk (WALK.py PROGRAM) with the accessibility bus of at-spi2-core on a
# session bus of its own.
set -uo pipefail
walk=$1
program=$2
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "at-spi2-core is not installed"; exit 77; }
[ -n "${DISPLAY:-}" ] || { echo "no display"; exit 77; }
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  sleep 1
  PYTHONPATH="$(dirname "$0")${PYTHONPATH:+:$PYTHONPATH}" /usr/bin/python3 "$1" "$2"
  status=$?
  kill $launcher 2>/dev/null
  exit $status' "$(cd "$(dirname "$0")" && pwd)/atspi-run.sh" "$walk" "$program"
