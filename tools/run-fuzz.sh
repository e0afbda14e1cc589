#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for FUZZ_SECONDS (default 60).
set -euo pipefail
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DQRV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
for f in "$build"/fuzz/fuzz_*; do
  [[ -x "$f" ]] || continue
  name=$(basename "$f"); name=${name#fuzz_}
  mkdir -p "$build/corpus/$name"
  echo "== $name"
  "$f" -max_total_time="$seconds" "$build/corpus/$name" "fuzz/corpus/$name"
done
