#!/usr/bin/env bash
# Remakes the examples' pictures in docs/examples/ with the capture hook: each example runs
# unpaced under a display (virtual when there is none) and its frame 90 is kept (an example
# that ends before it has no picture).
# Usage: tools/example-screenshots.sh [BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out="$source_dir/docs/examples"
work=$(mktemp -d /tmp/qrv-shots-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$build/examples/example_settings.ini"
for program in "$build"/examples/example_*; do
  [[ -x "$program" ]] || continue
  name=$(basename "$program")
  name=${name#example_}
  mkdir -p "$work/$name"
  settings=(TMPDIR="$work" QRV_FRAMES=91 QRV_UNPACED=1 QRV_CAPTURE="$work/$name" QRV_CAPTURE_FRAMES=90)
  replay="$source_dir/examples/$name.replay"
  [[ -f "$replay" ]] && settings+=(QRV_REPLAY="$replay")
  echo "== $name"
  env "${settings[@]}" bash "$source_dir/tools/with-display.sh" "$program"
  # Console examples (host_info) end before frame 90: they have no picture.
  if [[ -f "$work/$name/frame-000090.png" ]]; then
    cp "$work/$name/frame-000090.png" "$out/$name.png"
  fi
done
rm -f "$build/examples/example_settings.ini"
echo "Pictures in $out"
