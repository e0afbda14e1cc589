# The first program of docs/first-program.md as the package checks use it (sourced):
#   first_program_sources DOC DIR   writes the document's CMakeLists.txt and main.cpp to DIR
#                                   and prints its pkg-config build line
#   first_program_moves_right PROGRAM NAME [RUNNER...]
#                                   runs PROGRAM with the right arrow held from the first
#                                   frame (under RUNNER, e.g. wine) and checks that the ball
#                                   has moved right by frame 40
# Both end the script with "FAIL: ..." when something is wrong.

fail() { echo "FAIL: $*" >&2; exit 1; }

first_program_sources() {
  local doc=$1 dir=$2 pkg_line
  # The fenced blocks of the document, by their language tag.
  block() { awk -v tag="$1" '$0 == "```" tag {on = 1; next} /^```/ {on = 0} on' "$doc"; }
  mkdir -p "$dir"
  block cmake >"$dir/CMakeLists.txt"
  block cpp >"$dir/main.cpp"
  pkg_line=$(block sh | grep '^c++ ')
  [[ -s "$dir/CMakeLists.txt" && -s "$dir/main.cpp" && -n "$pkg_line" ]] ||
    fail "$doc lacks its cmake, cpp or sh block"
  echo "$pkg_line"
}

first_program_moves_right() {
  local program=$1 name=$2 work
  shift 2
  work=$(mktemp -d /tmp/qrv-first-program-XXXXXX)
  mkdir -p "$work/shots"
  printf '0 205\n' >"$work/right.replay"
  TMPDIR="$work" TMP="$work" QRV_FRAMES=41 QRV_UNPACED=1 QRV_REPLAY="$work/right.replay" \
    QRV_CAPTURE="$work/shots" QRV_CAPTURE_FRAMES=40 "$@" "$program" ||
    fail "$name consumer exited with $?"
  [[ -f "$work/shots/frame-000040.png" ]] || fail "$name consumer captured no frame"
  # The ball starts at x 304; forty frames at 4 pixels take it past x 400.
  # Debian's own Python, which has python3-pil (a Python of the user's may come first in PATH).
  /usr/bin/python3 - "$work/shots/frame-000040.png" "$name" <<'PY' || exit 1
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
xs = [x for x in range(image.width) for y in range(0, image.height, 4)
      if image.getpixel((x, y)) == (255, 160, 0)]
if not xs or min(xs) <= 400:
    sys.exit(f"FAIL: {sys.argv[2]} consumer: the ball did not move right (left edge {min(xs) if xs else None})")
PY
  rm -rf "$work"
}
