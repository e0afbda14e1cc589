#!/usr/bin/env bash
# Builds the libraries the runtime links in the browser (WebAssembly through Debian's
# emscripten), as static libraries without threads, from Debian 12's own source packages with
# Debian's patches applied; then links a small program against all of them.
#
# Everything goes into a cache outside the clone, one prefix per version of this recipe:
#   ${QRV_WEB_DEPS:-~/.cache/quorvia/web-deps}/<hash>
# taken over this file, tools/web/link-check.c and tools/source-packages.sh (the versions and
# the machinery this recipe shares with the Windows one). A prefix that is complete is used
# as it is; editing one of those files makes a new one. Programs find the libraries through
# PKG_CONFIG_LIBDIR=<prefix>/lib/pkgconfig, linked with `pkg-config --static`.
#
#   tools/web/deps.sh            builds what is missing, then prints the prefix
#   tools/web/deps.sh --prefix   only prints the prefix (built or not)
#
# QRV_JOBS sets the parallel jobs (default: the number of cores). Each library's build
# output goes to a log, shown when the build fails.
#
# Emscripten's own libraries (libc, its OpenGL and EGL) come prebuilt in Debian's package,
# whose cache is frozen: nothing here asks emscripten to build or fetch a port.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
label=Web
cache=${QRV_WEB_DEPS:-$HOME/.cache/quorvia/web-deps}
recipe=("${BASH_SOURCE[0]}" "$root/tools/web/link-check.c" "$root/tools/web/emcc-compile.sh")
source "$root/tools/source-packages.sh"
open_cache "$@"

# autotools-dev: the config.sub that knows emscripten; gcc: the build machine's compiler
# for libgpg-error's header generator.
install_packages() {
  bash "$root/tools/install-deps.sh" \
    emscripten dpkg-dev xz-utils make cmake ninja-build pkg-config autotools-dev gcc
  QRV_EMCC_CLANG=$(em-config LLVM_ROOT)/clang
  QRV_EMCC_CFLAGS=$(emcc --cflags)
  export QRV_EMCC_CLANG QRV_EMCC_CFLAGS
}

# Emscripten's JavaScript tools need Debian's node modules (node-acorn), which Debian's node
# finds by itself and a node from elsewhere only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH=
# emconfigure points pkg-config at emscripten's folder, plus this one.
export EM_PKG_CONFIG_PATH=$prefix/lib/pkgconfig
export CFLAGS=-O2 CXXFLAGS=-O2 CPPFLAGS=-I$prefix/include LDFLAGS=-L$prefix/lib
# C compiles go straight to emscripten's clang (tools/web/emcc-compile.sh).
compile=$root/tools/web/emcc-compile.sh
configure_command=(configure_web)
# The prefix is searched like emscripten's own folder. CMake's Release flags would add -O3
# to CFLAGS' -O2. Emscripten's CMake finds sizes by running programs under node, which must
# read the program's WebAssembly file from disk, not fetch it as a URL (and must not be
# given emcmake's --experimental-wasm-threads, which today's node rejects).
cmake_command=(emcmake cmake -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_C_COMPILER="$compile"
               -DCMAKE_C_FLAGS_RELEASE=-DNDEBUG -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG
               "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch")

# configure_web FLAGS...: a configure script for wasm32-unknown-emscripten, with the
# config.sub and config.guess of autotools-dev, as Debian's own builds refresh them (older
# packages' copies do not know emscripten).
configure_web() {
  local file
  while IFS= read -r -d '' file; do
    cp "/usr/share/misc/${file##*/}" "$file"
  done < <(find . \( -name config.sub -o -name config.guess \) -print0)
  emconfigure ./configure --host=wasm32-unknown-emscripten CC="$compile" "$@"
}

# ---- The libraries ------------------------------------------------------------------------
# zlib's configure is its own, not autoconf's; only the library is built (its example
# programs are not needed).
build_zlib() {
  unpack zlib
  cd "$work/src/zlib"
  logged zlib emconfigure ./configure --static --prefix="$prefix"
  logged zlib make -j"$jobs" libz.a
  logged zlib make install
}

build_lzo2() { with_configure lzo2; }
build_libpng() { with_configure libpng1.6; }

# The libjpeg 6.2 interface, as on the other hosts; no SIMD code in WebAssembly.
build_libjpeg_turbo() {
  with_cmake libjpeg-turbo -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
}

# Without threads, libgpg-error's locks are empty objects: its configure then writes their
# header itself (src/gen-lock-obj.sh --disable-threads) instead of needing one generated on
# or for the target.
build_libgpg_error() {
  with_configure libgpg-error --disable-threads --disable-nls --disable-languages \
    --disable-doc --disable-tests
}

# The runtime uses Blowfish (ECB) through libgcrypt; all of it is built, in plain C. Its
# folder of test programs is left out (some need more memory than a program gets by default).
build_libgcrypt() {
  with_configure libgcrypt20 --with-libgpg-error-prefix="$prefix" --disable-asm \
    --disable-doc -- "SUBDIRS=compat mpi cipher random src"
}

# TrueType fonts, with the zlib above and without the optional bzip2, brotli, PNG and
# HarfBuzz decoders: the runtime loads plain TrueType and OpenType.
build_freetype() {
  with_cmake freetype -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

# SDL2 knows emscripten: its video through the browser's canvas and emscripten's EGL and
# OpenGL, its sound through Web Audio. No threads (SDL's generic thread stubs).
build_sdl2() {
  with_cmake libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
}

# Only the decoders SDL2_mixer carries itself: WAV, FLAC (dr_flac), MP3 (dr_mp3) and Ogg
# Vorbis (stb_vorbis). No MIDI, tracker modules or Opus.
build_sdl2_mixer() {
  with_cmake libsdl2-mixer -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_FLAC=ON -DSDL2MIXER_FLAC_DRFLAC=ON -DSDL2MIXER_FLAC_LIBFLAC=OFF \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_WAVE=ON -DSDL2MIXER_CMD=OFF
  sdl2_mixer_pc ""
  # emcc takes -lSDL2_mixer for its own port of SDL2_mixer (which it would download): the
  # library is named by its file instead.
  sed -i 's|-lSDL2_mixer|${libdir}/libSDL2_mixer.a|' "$prefix/lib/pkgconfig/SDL2_mixer.pc"
}

# Every library through its pkg-config file, linked as the runtime links them: any symbol
# left undefined fails the link. Static linking needs --static (libgcrypt names libgpg-error
# as a private requirement).
web_modules=(sdl2 SDL2_mixer libpng libjpeg lzo2 libgcrypt freetype2 zlib)
link_check() {
  mkdir -p "$work/link-check"
  # shellcheck disable=SC2046
  logged link-check emcc -O2 -sLEGACY_GL_EMULATION=1 -sASYNCIFY=1 \
    "$root/tools/web/link-check.c" -o "$work/link-check/link-check.js" \
    $(pkg-config --static --cflags --libs "${web_modules[@]}")
}

# ---- The build ----------------------------------------------------------------------------
begin_build
step "Debian packages for emscripten" install_packages
step "Source package lists" update_source_lists
step "zlib ${version[zlib]}" build_zlib
step "lzo2 ${version[lzo2]}" build_lzo2
step "libpng ${version[libpng1.6]}" build_libpng
step "libjpeg-turbo ${version[libjpeg-turbo]}" build_libjpeg_turbo
step "libgpg-error ${version[libgpg-error]}" build_libgpg_error
step "libgcrypt ${version[libgcrypt20]}" build_libgcrypt
step "FreeType ${version[freetype]}" build_freetype
step "SDL2 ${version[libsdl2]}" build_sdl2
step "SDL2_mixer ${version[libsdl2-mixer]}" build_sdl2_mixer
step "A program linking them all" link_check
end_build
