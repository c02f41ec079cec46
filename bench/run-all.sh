#!/usr/bin/env bash
# Runs every benchmark script and prints its figures.
set -uo pipefail
build_dir=${1:-build}
cd "$(dirname "$0")/.."
for script in bench/*.sh; do
  [ "$(basename "$script")" = run-all.sh ] && continue
  echo "== $(basename "$script" .sh)"
  bash "$script" "$build_dir" || echo "(failed: $script)"
done
