#!/usr/bin/env bash
# Starts Skipdale_2 from its own folder.
set -euo pipefail
build=${1:-build}
cd "$build/game"
if [[ -z "${DISPLAY:-}" ]]; then
  echo "No display: running a short demo under a virtual display."
  exec bash ../../tools/with-display.sh env QRV_FRAMES="${QRV_FRAMES:-300}" ./skipdale2
fi
exec ./skipdale2
