#!/usr/bin/env bash
# Cross-builds the libraries the runtime links for 64-bit Windows (x86_64-w64-mingw32), as
# static libraries, from Debian 12's own source packages with Debian's patches applied.
# zlib, libgcrypt and libgpg-error come ready-made from Debian's mingw-w64 packages.
#
# Everything goes into a cache outside the clone, one prefix per version of this recipe:
#   ${QRV_WINDOWS_DEPS:-~/.cache/quorvia/windows-deps}/<hash>
# taken over this file, the toolchain file and tools/source-packages.sh (the versions and
# the machinery this recipe shares with the browser's). A prefix that is complete is used as
# it is; editing one of those files makes a new one.
#
#   tools/windows/deps.sh            builds what is missing, then prints the prefix
#   tools/windows/deps.sh --prefix   only prints the prefix (built or not)
#
# QRV_JOBS sets the parallel jobs (default: the number of cores). Each library's build
# output goes to a log, shown when the build fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
toolchain=$root/cmake/toolchain-mingw64.cmake
label=Windows
cache=${QRV_WINDOWS_DEPS:-$HOME/.cache/quorvia/windows-deps}
recipe=("${BASH_SOURCE[0]}" "$toolchain")
source "$root/tools/source-packages.sh"
open_cache "$@"

triplet=x86_64-w64-mingw32

install_packages() {
  bash "$root/tools/install-deps.sh" \
    gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    mingw-w64-tools libz-mingw-w64-dev libgcrypt-mingw-w64-dev libgpg-error-mingw-w64-dev \
    dpkg-dev xz-utils make cmake ninja-build pkg-config nasm wine wine64 xvfb xauth
}

export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig:/usr/$triplet/lib/pkgconfig PKG_CONFIG_PATH=
export CC=$triplet-gcc-posix CXX=$triplet-g++-posix CFLAGS=-O2 CXXFLAGS=-O2
export CPPFLAGS=-I$prefix/include LDFLAGS=-L$prefix/lib
configure_command=(./configure "--host=$triplet")
cmake_command=(cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQRV_WINDOWS_DEPS_PREFIX="$prefix")

# ---- The libraries ------------------------------------------------------------------------
build_lzo2() { with_configure lzo2; }
build_libpng() { with_configure libpng1.6; }

# The libjpeg 6.2 interface, as on Linux; SIMD with nasm.
build_libjpeg_turbo() { with_cmake libjpeg-turbo -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF; }

# The music decoders SDL2_mixer uses, the same libraries as on Linux: Ogg Vorbis through
# libvorbisfile, Opus through opusfile, tracker modules through libmodplug. FLAC, MP3 and
# WAV are decoded by SDL2_mixer's built-in decoders.
build_libogg() { with_configure libogg; }
build_libvorbis() { with_configure libvorbis --disable-docs --disable-examples --disable-oggtest; }
# Opus would build with _FORTIFY_SOURCE, whose checks need libssp in every program it is
# linked into on Windows.
build_opus() {
  CPPFLAGS="$CPPFLAGS -D_FORTIFY_SOURCE=0" with_configure opus --disable-doc \
    --disable-extra-programs
}
build_opusfile() { with_configure opusfile --disable-http --disable-examples --disable-doc; }
build_libmodplug() { with_configure libmodplug; }

# TrueType fonts, with the zlib the rest links (FreeType's own copy of zlib would clash with
# it) and without the optional bzip2, brotli, PNG and HarfBuzz decoders: the runtime loads
# plain TrueType and OpenType.
build_freetype() {
  with_cmake freetype -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

build_sdl2() { with_cmake libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF; }

# modplug.h declares its functions as imported from a DLL unless told the library is static.
build_sdl2_mixer() {
  with_cmake libsdl2-mixer -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DCMAKE_C_FLAGS=-DMODPLUG_STATIC -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VORBIS=VORBISFILE -DSDL2MIXER_VORBIS_VORBISFILE_SHARED=OFF \
    -DSDL2MIXER_OPUS=ON -DSDL2MIXER_OPUS_SHARED=OFF \
    -DSDL2MIXER_MOD=ON -DSDL2MIXER_MOD_MODPLUG=ON -DSDL2MIXER_MOD_XMP=OFF \
    -DSDL2MIXER_FLAC=ON -DSDL2MIXER_FLAC_DRFLAC=ON -DSDL2MIXER_FLAC_LIBFLAC=OFF \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_CMD=OFF
  sdl2_mixer_pc "vorbisfile opusfile libmodplug"
}

# Movies: the usual containers with their video and sound codecs, plus the scaler and the
# resampler. Nothing is taken from the build machine (no autodetection).
ffmpeg_demuxers=mov,matroska,avi,ogg,mpegps,mpegts,mpegvideo,flv,wav
ffmpeg_decoders=h264,mpeg4,msmpeg4v1,msmpeg4v2,msmpeg4v3,mpeg1video,mpeg2video,vp8,vp9
ffmpeg_decoders+=,theora,mjpeg,cinepak,rawvideo
ffmpeg_decoders+=,aac,mp2,mp2float,mp3,mp3float,ac3,vorbis,opus,flac,adpcm_ima_wav,adpcm_ms
ffmpeg_decoders+=,pcm_s16le,pcm_s16be,pcm_s24le,pcm_u8,pcm_f32le,pcm_alaw,pcm_mulaw
ffmpeg_parsers=h264,mpeg4video,mpegvideo,vp8,vp9,mjpeg,aac,ac3,mpegaudio,vorbis,opus,flac
build_ffmpeg() {
  unpack ffmpeg
  cd "$work/src/ffmpeg"
  logged ffmpeg ./configure --prefix="$prefix" --enable-cross-compile --target-os=mingw32 \
    --arch=x86_64 --cross-prefix=$triplet- --cc="$CC" --cxx="$CXX" \
    --enable-static --disable-shared --disable-autodetect --enable-w32threads \
    --disable-programs --disable-doc --disable-debug --disable-network \
    --disable-avdevice --disable-avfilter --disable-postproc \
    --disable-everything --enable-protocol=file \
    --enable-demuxer=$ffmpeg_demuxers --enable-decoder=$ffmpeg_decoders \
    --enable-parser=$ffmpeg_parsers
  logged ffmpeg make -j"$jobs"
  logged ffmpeg make install
}

# The test framework, for the test suites.
build_googletest() { with_cmake googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON; }

# ---- The build ----------------------------------------------------------------------------
begin_build
step "Debian packages for cross-building" install_packages
step "Source package lists" update_source_lists
step "lzo2 ${version[lzo2]}" build_lzo2
step "libpng ${version[libpng1.6]}" build_libpng
step "libjpeg-turbo ${version[libjpeg-turbo]}" build_libjpeg_turbo
step "libogg ${version[libogg]}" build_libogg
step "libvorbis ${version[libvorbis]}" build_libvorbis
step "opus ${version[opus]}" build_opus
step "opusfile ${version[opusfile]}" build_opusfile
step "libmodplug ${version[libmodplug]}" build_libmodplug
step "FreeType ${version[freetype]}" build_freetype
step "SDL2 ${version[libsdl2]}" build_sdl2
step "SDL2_mixer ${version[libsdl2-mixer]}" build_sdl2_mixer
step "FFmpeg ${version[ffmpeg]}" build_ffmpeg
step "GoogleTest ${version[googletest]}" build_googletest

end_build
