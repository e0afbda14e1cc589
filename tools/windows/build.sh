#!/usr/bin/env bash
# Cross-builds the runtime, Skipdale_2, qrv and the examples for 64-bit Windows in
# build-windows/, then makes the players' zip dist/skipdale2-windows-x86_64.zip: the game's
# .exe with its media appended (one file, as on Linux) and a short text for players, and the
# game programmers' kit dist/quorvia-sdk-windows-x86_64.zip.
# The libraries come from tools/windows/deps.sh (built once per machine, then cached).
#
# QRV_JOBS sets the parallel jobs of the build (default: ninja's own choice).
# QRV_WINDOWS_TESTS=1 builds the test suite too (make windows-test; tools/windows/test.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build-windows
dist=$root/dist
zip_name=skipdale2-windows-x86_64.zip
sdk_name=quorvia-sdk-windows-x86_64.zip
stage=$build/dist-stage  # what goes into the zip
tests=OFF
[[ -z "${QRV_WINDOWS_TESTS:-}" ]] || tests=ON
start=$SECONDS
# Test discovery and the packing step run Windows programs under Wine.
source "$root/tools/windows/wine-env.sh"

source "$root/tools/step.sh"

configure() {
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DQRV_WINDOWS_DEPS_PREFIX="$(bash "$root/tools/windows/deps.sh" --prefix)" \
    -DQRV_BUILD_TESTS="$tests" -DQRV_BUILD_BENCH=OFF
}

compile() {
  local jobs=() targets=(skipdale2 qrv) src
  [[ -z "${QRV_JOBS:-}" ]] || jobs=(--parallel "$QRV_JOBS")
  for src in "$root"/examples/*.cpp; do
    targets+=("example_$(basename "$src" .cpp)")
  done
  [[ $tests == OFF ]] || targets=(all)
  cmake --build "$build" "${jobs[@]}" --target "${targets[@]}"
}

# The game's media appended to a copy of its .exe by the Windows qrv under Wine (the console
# program needs no display). Members are named by their file names, as the runtime finds them.
pack_game() {
  rm -rf "$stage"
  mkdir -p "$stage"
  local files
  mapfile -t files < <(cd "$build/game" && find Media -type f | sort)
  # The players' copy without the debugging information (build-windows/ keeps it).
  x86_64-w64-mingw32-strip -o "$stage/skipdale2-stripped.exe" "$build/game/skipdale2.exe"
  (cd "$build/game" && wine "$build/tools/qrv.exe" pack create \
    --append-to "$stage/skipdale2-stripped.exe" "$stage/skipdale2.exe" "${files[@]}" | tr -d '\r')
  rm "$stage/skipdale2-stripped.exe"
  wineserver -w
  echo "Appended ${#files[@]} media files to skipdale2.exe"
  sed 's/$/\r/' "$root/tools/windows/README-players.txt" >"$stage/README.txt"  # CR LF, for Notepad
}

make_zip() {
  mkdir -p "$dist"
  rm -f "$dist/$zip_name"
  (cd "$stage" && zip -q -X -9 "$dist/$zip_name" skipdale2.exe README.txt)
  unzip -l "$dist/$zip_name"
}

# The game programmer's kit: the runtime as installed (headers, libquorvia.a, the CMake package,
# quorvia.pc, qrv.exe), the libraries it links with their headers and pkg-config files (their
# prefix made relative, so the kit works wherever it is unpacked), and the toolchain file.
make_sdk() {
  local kit=$build/sdk-stage/quorvia-sdk deps
  deps=$(bash "$root/tools/windows/deps.sh" --prefix)
  rm -rf "$build/sdk-stage"
  mkdir -p "$kit/share/quorvia"
  cp -r "$deps/include" "$deps/lib" "$kit/"
  rm -rf "$kit/include/gtest" "$kit/include/gmock" "$kit/lib/cmake" "$kit"/lib/*.la \
    "$kit"/lib/lib{gtest,gmock}*.a "$kit"/lib/pkgconfig/{gtest,gmock}*.pc
  sed -i "s|$deps|\${pcfiledir}/../..|g" "$kit"/lib/pkgconfig/*.pc
  # Programs start at their own main(), as the runtime's do: SDL's renaming of main, its
  # WinMain wrapper and the GUI subsystem flag leave SDL's flags (CMakeLists.txt does the
  # same for the runtime's own build).
  rm "$kit/lib/libSDL2main.a"
  sed -i -e '/^Libs/s/ -lSDL2main\| -mwindows//g' -e '/^Cflags/s/ -Dmain=SDL_main//' \
    "$kit/lib/pkgconfig/sdl2.pc"
  cmake --install "$build" --prefix "$kit" >/dev/null
  x86_64-w64-mingw32-strip "$kit/bin/qrv.exe"
  cp "$root/cmake/toolchain-mingw64.cmake" "$kit/share/quorvia/"
  rm -f "$dist/$sdk_name"
  (cd "$build/sdk-stage" && zip -q -X -9 -r "$dist/$sdk_name" quorvia-sdk)
  echo "$dist/$sdk_name: $(unzip -l "$dist/$sdk_name" | tail -n 1)"
}

step "Checking the Debian packages the zip needs" bash "$root/tools/install-deps.sh" zip unzip
step "The Windows libraries (built once, then taken from the cache)" \
  bash "$root/tools/windows/deps.sh"
step "Configuring the Windows build in build-windows/" configure
step "Building the library, the game, qrv and the examples" compile
step "Appending the game's media to skipdale2.exe" pack_game
step "Making dist/$zip_name" make_zip
step "Making dist/$sdk_name" make_sdk

echo
echo "Done in $((SECONDS - start)) s. The Windows programs are in $build:"
echo "  game/skipdale2.exe (with Media/ beside it), tools/qrv.exe, examples/example_*.exe"
echo "The players' zip: $dist/$zip_name ($(stat -c %s "$dist/$zip_name") bytes)"
echo "The game programmers' kit: $dist/$sdk_name ($(stat -c %s "$dist/$sdk_name") bytes)"
