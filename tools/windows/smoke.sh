#!/usr/bin/env bash
# Checks the cross-built Windows libraries: builds tools/windows/smoke/ with the toolchain
# file into build-windows-smoke/, makes a few music pieces and movies with ffmpeg, and runs
# the program under Wine on a virtual display (OpenGL through the host's Mesa).
# Run tools/windows/deps.sh (make windows-deps) first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
prefix=$(bash "$root/tools/windows/deps.sh" --prefix)
[[ -f $prefix/.complete ]] || { echo "No Windows libraries in $prefix: run make windows-deps" >&2; exit 1; }
build=$root/build-windows-smoke

echo "== Building the smoke program against $prefix"
rm -rf "$build"  # a fresh build: the libraries' prefix changes with the recipe
cmake -S "$root/tools/windows/smoke" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DQRV_WINDOWS_DEPS_PREFIX="$prefix"
cmake --build "$build"

echo "== Making music and movies with ffmpeg"
media=$(mktemp -d)
trap 'rm -rf "$media"' EXIT
tone=(ffmpeg -loglevel error -f lavfi -i "sine=frequency=441:duration=0.5" -ar 22050 -ac 2)
"${tone[@]}" -c:a libvorbis "$media/piece.ogg"
"${tone[@]}" -ar 48000 -c:a libopus "$media/piece.opus"
"${tone[@]}" -c:a libmp3lame "$media/piece.mp3"
"${tone[@]}" -c:a flac "$media/piece.flac"
# A four-channel module: one looped square-wave sample struck on the first row.
python3 - "$media/piece.mod" <<'EOF'
import struct, sys
mod = bytes(20) + bytes(22) + struct.pack(">HBBHH", 16, 0, 64, 0, 16)
mod += (bytes(22) + struct.pack(">HBBHH", 0, 0, 0, 0, 1)) * 30
mod += bytes([1, 127]) + bytes(128) + b"M.K."
pattern = bytearray(64 * 4 * 4)
pattern[0:3] = bytes([0x01, 0xAC, 0x10])
mod += bytes(pattern) + bytes([100] * 16 + [156] * 16)
open(sys.argv[1], "wb").write(mod)
EOF
bars=(ffmpeg -loglevel error -f lavfi -i smptebars=s=320x200:r=10 -f lavfi
      -i sine=frequency=441:sample_rate=22050 -t 1 -pix_fmt yuv420p)
"${bars[@]}" -c:v libx264 -c:a aac "$media/bars.mp4"
"${bars[@]}" -c:v libvpx-vp9 -c:a libopus "$media/bars.webm"
"${bars[@]}" -c:v libtheora -c:a libvorbis "$media/bars.ogv"

echo "== Running it under Wine"
source "$root/tools/windows/wine-env.sh"
cd "$media"
bash "$root/tools/with-display.sh" wine "$build/smoke.exe" bars.mp4 bars.webm bars.ogv -- \
  piece.ogg piece.opus piece.mp3 piece.flac piece.mod
