#!/usr/bin/env bash
# How far real scheduler fires land from their due time.
set -euo pipefail
"${1:-build}/bench/fire_bench"
