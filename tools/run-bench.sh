#!/usr/bin/env bash
# Runs every benchmark program, under a display (some benchmarks draw).
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for b in "$build"/bench/bench_*; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  bash "$here/with-display.sh" "$b" || status=1
done
exit $status
