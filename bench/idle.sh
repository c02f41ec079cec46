#!/usr/bin/env bash
# The idle program: velmor started with an empty home and no tray, left alone for IDLE_SECONDS
# (default 30); it should not wake at all.
cd "$(dirname "$0")/.."
NO_TRAY=1 BENCH_LABEL=idle SESSION_SECONDS=${IDLE_SECONDS:-30} exec bash bench/session.sh "$@"
