#!/usr/bin/env bash
# The whole test suite, under a display (virtual when there is none).
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
# One test at a time: the tests open real windows on one display, and a window that loses
# the focus to another test's window pauses its program.
exec bash "$here/with-display.sh" ctest --test-dir "$build" --output-on-failure --timeout 300
