#!/usr/bin/env bash
# The whole test suite, under a display (virtual when there is none).
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
# Every outside program the tests start, with the Debian package that brings it: one missing
# fails here at once, by name, instead of as a test that times out later.
missing=()
while read -r program package; do
  command -v "$program" >/dev/null 2>&1 || missing+=("$package (for $program)")
done <<'LIST'
Xvfb xvfb
xvfb-run xvfb
xauth xauth
xwininfo x11-utils
xdpyinfo x11-utils
xdotool xdotool
setxkbmap x11-xkb-utils
xkbcomp x11-xkb-utils
glxinfo mesa-utils
convert imagemagick
ppmtobmp netpbm
/usr/bin/python3 python3
sox sox
ffmpeg ffmpeg
xdg-open xdg-utils
apitrace apitrace
cc build-essential
LIST
/usr/bin/python3 -c 'import PIL' 2>/dev/null || missing+=("python3-pil (for the python3 module PIL)")
# The host's message box draws with the X core fonts.
[[ -e /etc/X11/fonts/misc/xfonts-base.alias ]] || missing+=("xfonts-base (X core fonts)")
if [[ ${#missing[@]} -gt 0 ]]; then
  printf 'run-tests: missing package: %s\n' "${missing[@]}" >&2
  echo "run-tests: install them with: bash tools/install-deps.sh" >&2
  exit 1
fi
# One test at a time: the tests open real windows on one display, and a window that loses
# the focus to another test's window pauses its program.
exec bash "$here/with-display.sh" ctest --test-dir "$build" --output-on-failure --timeout 300
