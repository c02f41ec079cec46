#!/usr/bin/env bash
# Sync through a shared folder: save-to-reload latency between two computers, merging three
# computers' libraries, and a 100,000-prompt folder arriving (GUI-thread stall, memory).
set -euo pipefail
build_dir=${1:-build}
"$build_dir/bench/sync_bench"
"$build_dir/bench/sync_bench" --large
