#!/usr/bin/env bash
# Starts Skipdale_2 from its own folder. Without a display it plays the demo replay under a
# virtual display, unpaced, and saves a screenshot every 30 frames.
set -euo pipefail
build=${1:-build}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
game_dir=$(cd "$build/game" && pwd)
cd "$game_dir"
if [[ -n "${DISPLAY:-}" ]]; then
  exec ./skipdale2
fi
shots="$game_dir/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
echo "No display: playing the demo under a virtual display."
QRV_REPLAY="$source_dir/game/demo.replay" QRV_FRAMES="${QRV_FRAMES:-300}" QRV_UNPACED=1 \
  QRV_CAPTURE="$shots" QRV_CAPTURE_FRAMES="${QRV_CAPTURE_FRAMES:-every:30}" \
  bash "$source_dir/tools/with-display.sh" ./skipdale2
count=$(find "$shots" -name 'frame-*.png' | wc -l)
if [[ "$count" -eq 0 ]]; then
  echo "The demo ran, but no screenshots were saved (this runtime cannot capture frames)."
  exit 1
fi
echo "Saved $count screenshots of the demo in $shots"
