# shellcheck shell=bash disable=SC2154  # label, cache and recipe come from the recipe
# Builds a host's libraries from Debian 12's own source packages, with Debian's patches
# applied, as static libraries in a cache prefix. Sourced by the recipes of the hosts that
# cannot use the machine's own libraries: tools/windows/deps.sh and tools/web/deps.sh.
#
# A recipe sets, before sourcing this file:
#   label    the host's name in messages ("Windows")
#   cache    the cache folder, e.g. ~/.cache/quorvia/windows-deps
#   recipe   the files the libraries depend on (the recipe itself, a toolchain file...)
# then calls `open_cache "$@"`, which answers --prefix and a prefix already complete, and
# after setting up its compilers:
#   configure_command  how an autotools configure script is run, e.g. (./configure --host=...)
#   cmake_command      how a CMake build is configured, e.g. (cmake -DCMAKE_TOOLCHAIN_FILE=...)
# runs `begin_build`, its steps (`step NAME COMMAND...`), and `end_build`.
#
# One prefix per version of the recipe: <cache>/<hash of the recipe's files and this one>.
# A prefix that is complete (it holds .complete) is used as it is; the sources downloaded
# stay in <cache>/sources for the next build. QRV_JOBS sets the parallel jobs (default: the
# number of cores). Each library's build output goes to a log, shown when the build fails.

# ---- The sources: package = Debian 12 version -----------------------------------------
# apt-get source fails when the archive no longer holds a version: update it here then.
declare -A version=(
  [zlib]=1:1.2.13.dfsg-1
  [lzo2]=2.10-2
  [libpng1.6]=1.6.39-2+deb12u5
  [libjpeg-turbo]=1:2.1.5-2
  [libgpg-error]=1.46-1
  [libgcrypt20]=1.10.1-3+deb12u1
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

# ---- The cache ----------------------------------------------------------------------------
# open_cache ARGS...: sets key, prefix, work and sources; with --prefix prints the prefix
# and ends, as it does when the prefix is complete.
open_cache() {
  key=$(cat "${recipe[@]}" "${BASH_SOURCE[0]}" | sha256sum | cut -c1-16)
  prefix=$cache/$key
  work=$cache/build-$key
  sources=$cache/sources
  jobs=${QRV_JOBS:-$(nproc)}
  if [[ "${1:-}" == "--prefix" ]]; then
    echo "$prefix"
    exit 0
  fi
  if [[ -f $prefix/.complete ]]; then
    echo "$label libraries up to date in $prefix"
    exit 0
  fi
}

# begin_build: holds the cache's lock (another build of it waits), and starts afresh.
begin_build() {
  mkdir -p "$cache"
  exec 9>"$cache/.lock"
  flock 9
  if [[ -f $prefix/.complete ]]; then
    echo "$label libraries up to date in $prefix"
    exit 0
  fi
  # Leftovers of builds that did not finish (this one's or another recipe's) go.
  local dir
  for dir in "$cache"/*/; do
    dir=${dir%/}
    if [[ $dir == "$cache/build-"* || ( $dir =~ /[0-9a-f]{16}$ && ! -f $dir/.complete ) ]]; then
      rm -rf "$dir"
    fi
  done
  mkdir -p "$prefix" "$work/logs" "$work/src" "$sources"
  total=$SECONDS
  echo "Building the $label libraries into $prefix ($jobs jobs)"
}

# end_build: keeps the step times in the prefix and marks it complete.
end_build() {
  echo "all $((SECONDS - total))" >>"$work/times"
  cp "$work/times" "$prefix/build-times.txt"
  rm -rf "$work"
  touch "$prefix/.complete"
  echo "$label libraries built in $((SECONDS - total)) s into $prefix"
}

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

# ---- Debian's source packages -------------------------------------------------------------
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

# ---- Build systems ------------------------------------------------------------------------
# with_configure PACKAGE FLAGS... [-- MAKE_ARGUMENTS...]: an autotools package, static only.
with_configure() {
  local package=$1 flags=()
  shift
  while [[ $# -gt 0 && $1 != -- ]]; do
    flags+=("$1")
    shift
  done
  [[ $# -eq 0 ]] || shift
  unpack "$package"
  cd "$work/src/$package"
  logged "$package" "${configure_command[@]}" --prefix="$prefix" --disable-shared \
    --enable-static "${flags[@]}"
  logged "$package" make -j"$jobs" "$@"
  logged "$package" make install "$@"
}

# with_cmake PACKAGE FLAGS...: a CMake package, static only.
with_cmake() {
  local package=$1
  shift
  unpack "$package"
  logged "$package" "${cmake_command[@]}" -S "$work/src/$package" \
    -B "$work/src/$package/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@"
  logged "$package" cmake --build "$work/src/$package/build" -j "$jobs"
  logged "$package" cmake --install "$work/src/$package/build"
}

# sdl2_mixer_pc REQUIRES: SDL2_mixer's pkg-config file, which its CMake build writes only for
# a shared library: its template filled in, with the decoders' packages for a static link.
sdl2_mixer_pc() {
  sed -e "s|@prefix@|$prefix|; s|@exec_prefix@|\${prefix}|; s|@libdir@|\${exec_prefix}/lib|" \
      -e "s|@includedir@|\${prefix}/include|; s|@SDL_VERSION@|2.0.9|" \
      -e "s|@VERSION@|${version[libsdl2-mixer]%%+*}|" \
      -e "s|@PC_REQUIRES@|$1|; s|@PC_LIBS@||" \
      "$work/src/libsdl2-mixer/SDL2_mixer.pc.in" >"$prefix/lib/pkgconfig/SDL2_mixer.pc"
}
