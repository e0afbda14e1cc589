#!/usr/bin/env bash
# Builds the runtime, Skipdale_2 and the examples for the browser in build-web/ with Debian's
# emscripten, and the game's page: dist/skipdale2-web/ (index.html, skipdale2.js,
# skipdale2.wasm and skipdale2.data, the game's media). Any static web server can serve that
# folder; `python3 -m http.server` in it is enough to try it.
# The libraries come from tools/web/deps.sh (built once per machine, then cached); the
# media packs are made by the qrv tool of the Linux build in build/ (built here if missing).
#
# QRV_JOBS sets the parallel jobs of the build (default: ninja's own choice).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build-web
page=$root/dist/skipdale2-web
start=$SECONDS
# emcc's optimiser runs on Node.js with Debian's JavaScript packages (acorn and others).
export NODE_PATH=/usr/share/nodejs

source "$root/tools/step.sh"

host_qrv() {
  [[ -f $root/build/build.ninja ]] || cmake -S "$root" -B "$root/build" -G Ninja
  cmake --build "$root/build" --target qrv
}

configure() {
  local deps
  deps=$(bash "$root/tools/web/deps.sh" --prefix)
  PKG_CONFIG_LIBDIR=$deps/lib/pkgconfig PKG_CONFIG_PATH= cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DCMAKE_FIND_ROOT_PATH="$deps" -DPKG_CONFIG_ARGN=--static -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" \
    -DQRV_BUILD_TESTS=OFF -DQRV_BUILD_BENCH=OFF -DQRV_INSTALL=OFF \
    -DQRV_HOST_QRV="$root/build/tools/qrv"
}

compile() {
  local jobs=()
  [[ -z "${QRV_JOBS:-}" ]] || jobs=(--parallel "$QRV_JOBS")
  cmake --build "$build" "${jobs[@]}"
}

# The page's files under the names a server gives them: the page itself is index.html.
make_page() {
  rm -rf "$page"
  mkdir -p "$page"
  cp "$build/game/skipdale2.html" "$page/index.html"
  cp "$build/game/skipdale2".{js,wasm,data} "$page/"
  local file total=0 packed=0
  for file in "$page"/*; do
    total=$((total + $(stat -c %s "$file")))
    packed=$((packed + $(gzip -9 -c "$file" | wc -c)))
    printf '  %-16s %9d bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
  done
  echo "  download: $total bytes ($packed compressed with gzip -9)"
}

step "Checking the Debian packages the browser build needs" \
  bash "$root/tools/install-deps.sh" emscripten nodejs gzip
step "The Linux qrv tool, which packs the pages' media" host_qrv
step "The browser's libraries (built once, then taken from the cache)" \
  bash "$root/tools/web/deps.sh"
step "Configuring the browser build in build-web/" configure
step "Building the library, the game and the examples" compile
step "Making the game's page in dist/skipdale2-web/" make_page

echo
echo "Done in $((SECONDS - start)) s. The game's page: $page/index.html"
echo "To play it: (cd dist/skipdale2-web && python3 -m http.server), then open http://127.0.0.1:8000/"
echo "The examples' pages are in $build/examples/."
