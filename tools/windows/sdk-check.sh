#!/usr/bin/env bash
# The game programmers' kit, checked as docs/windows.md tells a game programmer to use it:
# dist/quorvia-sdk-windows-x86_64.zip is unpacked into an empty folder, the first program of
# docs/first-program.md is built for Windows against it, once through find_package with the
# kit's toolchain file and once through pkg-config, and both programs run under Wine with the
# right arrow held: the ball must move right. Each program may import only Windows' own
# libraries. Run by make windows-test; needs a display (tools/with-display.sh gives one).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
zip=$root/dist/quorvia-sdk-windows-x86_64.zip
source "$root/tools/windows/wine-env.sh"
source "$root/tests/package/first_program.sh"

[[ -f $zip ]] || fail "no $zip (make windows makes it)"
work=$(mktemp -d /tmp/qrv-sdk-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
(cd "$work" && unzip -q "$zip")
kit=$work/quorvia-sdk
app=$work/mygame
first_program_sources "$root/docs/first-program.md" "$app" >/dev/null

# As docs/windows.md shows it.
cmake -S "$app" -B "$app/build-windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$kit/share/quorvia/toolchain-mingw64.cmake" \
  -DQRV_WINDOWS_DEPS_PREFIX="$kit" >/dev/null || fail "find_package(Quorvia) does not configure"
cmake --build "$app/build-windows" >/dev/null || fail "find_package(Quorvia) does not build"
(
  cd "$app"
  export PKG_CONFIG_LIBDIR="$kit/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig"
  x86_64-w64-mingw32-g++-posix -std=c++20 -static -o mygame.exe main.cpp \
    $(pkg-config --static --cflags --libs quorvia)
) || fail "the pkg-config build does not build"

# Windows' own libraries, which every Windows has (the programs link everything else in).
own='^(KERNEL32|USER32|GDI32|OPENGL32|WS2_32|SHELL32|ole32|OLEAUT32|comdlg32|ADVAPI32|IMM32|SETUPAPI|VERSION|WINMM|msvcrt|bcrypt|dinput8|CFGMGR32)\.dll$'
for program in "$app/build-windows/mygame.exe" "$app/mygame.exe"; do
  others=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' |
             grep -Eiv "$own" || true)
  [[ -z $others ]] || fail "$program needs libraries a Windows machine lacks: $others"
done

first_program_moves_right "$app/build-windows/mygame.exe" "Windows find_package" wine
first_program_moves_right "$app/mygame.exe" "Windows pkg-config" wine
# Wine's server ends by itself a moment after its last program; stop it if it still runs.
wineserver -k 2>/dev/null || true
echo "sdk-check: the first program builds against the kit through find_package and pkg-config, and runs under Wine"
