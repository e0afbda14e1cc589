#!/usr/bin/env bash
# The whole test suite, under a display (virtual when there is none).
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/with-display.sh" ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
