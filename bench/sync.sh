#!/usr/bin/env bash
# Sync through a shared folder: save-to-reload latency between two computers and the cost of
# folding conflict copies.
set -euo pipefail
build_dir=${1:-build}
"$build_dir/bench/sync_bench"
