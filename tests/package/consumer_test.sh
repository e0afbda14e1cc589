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

source "$source_dir/tests/package/first_program.sh"

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

pkg_line=$(first_program_sources "$source_dir/docs/first-program.md" "$work/mygame")
app="$work/mygame"

cmake -S "$app" -B "$app/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null ||
  fail "find_package(Quorvia) consumer does not configure"
cmake --build "$app/build" || fail "find_package(Quorvia) consumer does not build"
(cd "$app" && PKG_CONFIG_PATH="$prefix/lib/pkgconfig" eval "$pkg_line") ||
  fail "pkg-config consumer does not build: $pkg_line"
first_program_moves_right "$app/build/mygame" cmake
first_program_moves_right "$app/mygame" pkg-config

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
