#!/usr/bin/env bash
# The installed package as a game programmer meets it: installs the build to a fresh prefix,
# builds the program of docs/first-program.md (taken from the document itself) once through
# find_package and once through pkg-config, and runs both with the right arrow held: the
# ball must have moved right. Then checks that a project which adds the runtime's source
# folder gets the library and nothing else. Usage: consumer_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/qrv-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
for f in include/quorvia/quorvia.h include/quorvia/key_codes.h lib/libquorvia.a \
         lib/cmake/Quorvia/QuorviaConfig.cmake lib/cmake/Quorvia/QuorviaConfigVersion.cmake \
         lib/pkgconfig/quorvia.pc bin/qrv; do
  [[ -e "$prefix/$f" ]] || fail "the install has no $f"
done
# The installed tool runs on its own.
printf '1 1\n' > "$work/grid.txt"
[[ "$("$prefix/bin/qrv" path "$work/grid.txt" 0 0 1 0 | head -1)" == "2" ]] ||
  fail "the installed qrv tool does not find a path"

# The fenced blocks of the document, by their language tag.
doc="$source_dir/docs/first-program.md"
block() { awk -v tag="$1" '$0 == "```" tag {on = 1; next} /^```/ {on = 0} on' "$doc"; }
app="$work/mygame"
mkdir -p "$app"
block cmake > "$app/CMakeLists.txt"
block cpp > "$app/main.cpp"
pkg_line=$(block sh | grep '^c++ ')
[[ -s "$app/CMakeLists.txt" && -s "$app/main.cpp" && -n "$pkg_line" ]] ||
  fail "docs/first-program.md lacks its cmake, cpp or sh block"

cmake -S "$app" -B "$app/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null ||
  fail "find_package(Quorvia) consumer does not configure"
cmake --build "$app/build" || fail "find_package(Quorvia) consumer does not build"
(cd "$app" && PKG_CONFIG_PATH="$prefix/lib/pkgconfig" eval "$pkg_line") ||
  fail "pkg-config consumer does not build: $pkg_line"

# Right held from the first frame; frame 40 is captured.
printf '0 205\n' > "$work/right.replay"
run() {
  local program=$1 shots="$work/shots-$2"
  mkdir -p "$shots"
  TMPDIR="$work" QRV_FRAMES=41 QRV_UNPACED=1 QRV_REPLAY="$work/right.replay" \
    QRV_CAPTURE="$shots" QRV_CAPTURE_FRAMES=40 "$program" || fail "$2 consumer exited with $?"
  [[ -f "$shots/frame-000040.png" ]] || fail "$2 consumer captured no frame"
  # The ball starts at x 304; forty frames at 4 pixels take it past x 400.
  # Debian's own Python, which has python3-pil (a Python of the user's may come first in PATH).
  /usr/bin/python3 - "$shots/frame-000040.png" "$2" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
xs = [x for x in range(image.width) for y in range(0, image.height, 4)
      if image.getpixel((x, y)) == (255, 160, 0)]
if not xs or min(xs) <= 400:
    sys.exit(f"FAIL: {sys.argv[2]} consumer: the ball did not move right (left edge {min(xs) if xs else None})")
PY
}
run "$app/build/mygame" cmake
run "$app/mygame" pkg-config

# Added as a subfolder, the runtime brings the library alone.
sub="$work/subproject"
mkdir -p "$sub"
cat > "$sub/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(sub LANGUAGES C CXX)
add_subdirectory("$source_dir" quorvia)
foreach(t skipdale2 qrv example_path_finding test_values bench_pathfinding fuzz_pack_reader)
  if(TARGET \${t})
    message(FATAL_ERROR "the consumer's build got the runtime's target \${t}")
  endif()
endforeach()
if(NOT TARGET Quorvia::quorvia)
  message(FATAL_ERROR "no Quorvia::quorvia")
endif()
CMAKE
cmake -S "$sub" -B "$sub/build" -G Ninja >/dev/null || fail "add_subdirectory consumer"
echo "package consumers: find_package, pkg-config and add_subdirectory all work"
