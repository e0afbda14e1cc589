#!/usr/bin/env bash
# Cross-builds the libraries the runtime links for 64-bit Windows (x86_64-w64-mingw32), as
# static libraries, from Debian 12's own source packages with Debian's patches applied.
# zlib, libgcrypt and libgpg-error come ready-made from Debian's mingw-w64 packages.
#
# Everything goes into a cache outside the clone, one prefix per version of this recipe:
#   ${QRV_WINDOWS_DEPS:-~/.cache/quorvia/windows-deps}/<hash of this file and the toolchain file>
# A prefix that is complete is used as it is; editing this file or the toolchain file makes
# a new one. The sources downloaded stay in <cache>/sources for the next build.
#
#   tools/windows/deps.sh            builds what is missing, then prints the prefix
#   tools/windows/deps.sh --prefix   only prints the prefix (built or not)
#
# QRV_JOBS sets the parallel jobs (default: the number of cores). Each library's build
# output goes to a log, shown when the build fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
toolchain=$root/cmake/toolchain-mingw64.cmake
cache=${QRV_WINDOWS_DEPS:-$HOME/.cache/quorvia/windows-deps}
key=$(cat "${BASH_SOURCE[0]}" "$toolchain" | sha256sum | cut -c1-16)
prefix=$cache/$key

if [[ "${1:-}" == "--prefix" ]]; then
  echo "$prefix"
  exit 0
fi
if [[ -f $prefix/.complete ]]; then
  echo "Windows libraries up to date in $prefix"
  exit 0
fi

triplet=x86_64-w64-mingw32
jobs=${QRV_JOBS:-$(nproc)}
work=$cache/build-$key
sources=$cache/sources

# ---- The sources: package = Debian 12 version -----------------------------------------
# apt-get source fails when the archive no longer holds a version: update it here then.
declare -A version=(
  [lzo2]=2.10-2
  [libpng1.6]=1.6.39-2+deb12u5
  [libjpeg-turbo]=1:2.1.5-2
  [libogg]=1.3.5-3
  [libvorbis]=1.3.7-1
  [opus]=1.3.1-3
  [opusfile]=0.12-4
  [libmodplug]=1:0.8.9.0-3
  [freetype]=2.12.1+dfsg-5+deb12u4
  [libsdl2]=2.26.5+dfsg-1
  [libsdl2-mixer]=2.6.2+dfsg-2
  [ffmpeg]=7:5.1.9-0+deb12u1
  [googletest]=1.12.1-0.2
)

# ---- Steps --------------------------------------------------------------------------------
# step NAME COMMAND...: says what it does, runs it, says how long it took.
step() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "-- $name: $((SECONDS - start)) s"
  echo "$name $((SECONDS - start))" >>"$work/times"
}

# logged NAME COMMAND...: runs a command with its output in NAME's log; shows the log's end
# when it fails.
logged() {
  local log=$work/logs/$1.log
  shift
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log"
    echo "Failed: $* (the whole output is in $log)" >&2
    return 1
  fi
}

install_packages() {
  bash "$root/tools/install-deps.sh" \
    gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    mingw-w64-tools libz-mingw-w64-dev libgcrypt-mingw-w64-dev libgpg-error-mingw-w64-dev \
    dpkg-dev xz-utils make cmake ninja-build pkg-config nasm wine wine64 xvfb xauth
}

# A sources list of its own: the machine's Debian archive with deb-src lines, read through
# private state and cache folders so the machine's apt set-up is left as it is.
apt_options=()
update_source_lists() {
  local aptdir=$cache/apt debian security
  mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
  debian=$(apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Origin: Debian' \
             'Label: Debian' | sort -u | head -n 1)
  security=$(apt-get indextargets --format '$(REPO_URI)' 'Label: Debian-Security' | sort -u |
               head -n 1)
  : "${debian:=http://deb.debian.org/debian/}" "${security:=http://deb.debian.org/debian-security/}"
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat >"$aptdir/sources.list" <<EOF
deb-src [signed-by=$keyring] $debian bookworm main
deb-src [signed-by=$keyring] $debian bookworm-updates main
deb-src [signed-by=$keyring] $security bookworm-security main
EOF
  apt_options=(-o "Dir::Etc::sourcelist=$aptdir/sources.list" -o Dir::Etc::sourceparts=-
               -o "Dir::State::Lists=$aptdir/lists" -o "Dir::Cache=$aptdir/cache")
  [[ $(id -u) -ne 0 ]] || apt_options+=(-o APT::Sandbox::User=root)
  apt-get "${apt_options[@]}" update -qq
}

# unpack PACKAGE: the pinned source with Debian's patches, in $work/src/PACKAGE. apt fetches
# only the files not yet in $sources whole, and checks them against the archive's signed index.
unpack() {
  local package=$1 v=${version[$1]}
  (cd "$sources" && apt-get "${apt_options[@]}" source -qq --download-only "$package=$v")
  rm -rf "$work/src/$package"
  dpkg-source --no-check -x "$sources/${package}_${v#*:}.dsc" "$work/src/$package" >/dev/null
}

export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig:/usr/$triplet/lib/pkgconfig PKG_CONFIG_PATH=
export CC=$triplet-gcc-posix CXX=$triplet-g++-posix CFLAGS=-O2 CXXFLAGS=-O2
export CPPFLAGS=-I$prefix/include LDFLAGS=-L$prefix/lib

# with_configure PACKAGE FLAGS...: an autotools package, static only.
with_configure() {
  local package=$1
  shift
  unpack "$package"
  cd "$work/src/$package"
  logged "$package" ./configure --host=$triplet --prefix="$prefix" --disable-shared \
    --enable-static "$@"
  logged "$package" make -j"$jobs"
  logged "$package" make install
}

# with_cmake PACKAGE FLAGS...: a CMake package, static only, with the toolchain file.
with_cmake() {
  local package=$1
  shift
  unpack "$package"
  logged "$package" cmake -S "$work/src/$package" -B "$work/src/$package/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQRV_WINDOWS_DEPS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@"
  logged "$package" cmake --build "$work/src/$package/build" -j "$jobs"
  logged "$package" cmake --install "$work/src/$package/build"
}

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
  # Its CMake build writes the pkg-config file only for a shared library: fill in its
  # template here, with the decoders' libraries for a static link.
  sed -e "s|@prefix@|$prefix|; s|@exec_prefix@|\${prefix}|; s|@libdir@|\${exec_prefix}/lib|" \
      -e "s|@includedir@|\${prefix}/include|; s|@SDL_VERSION@|2.0.9|" \
      -e "s|@VERSION@|${version[libsdl2-mixer]%%+*}|" \
      -e "s|@PC_REQUIRES@|vorbisfile opusfile libmodplug|; s|@PC_LIBS@||" \
      "$work/src/libsdl2-mixer/SDL2_mixer.pc.in" >"$prefix/lib/pkgconfig/SDL2_mixer.pc"
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
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9
if [[ -f $prefix/.complete ]]; then
  echo "Windows libraries up to date in $prefix"
  exit 0
fi
# Leftovers of builds that did not finish (this one's or another recipe's) go.
for dir in "$cache"/*/; do
  dir=${dir%/}
  if [[ $dir == "$cache/build-"* || ( $dir =~ /[0-9a-f]{16}$ && ! -f $dir/.complete ) ]]; then
    rm -rf "$dir"
  fi
done
mkdir -p "$prefix" "$work/logs" "$work/src" "$sources"
total=$SECONDS
echo "Building the Windows libraries into $prefix ($jobs jobs)"

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

echo "all $((SECONDS - total))" >>"$work/times"
cp "$work/times" "$prefix/build-times.txt"
rm -rf "$work"
touch "$prefix/.complete"
echo "Windows libraries built in $((SECONDS - total)) s into $prefix"
