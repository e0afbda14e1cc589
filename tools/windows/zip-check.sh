#!/usr/bin/env bash
# The players' zip, checked as a player gets it: dist/skipdale2-windows-x86_64.zip is unpacked
# into an empty folder and its game plays the demo replay under Wine. Its frames (every 10th
# and the first) and its player trace must be those of the Linux game (build/game/skipdale2,
# built here when missing) playing the same replay. Run by make windows-test after the suite;
# it needs a display (tools/with-display.sh gives one) and the zip (tools/windows/build.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
zip=$root/dist/skipdale2-windows-x86_64.zip
linux_build=${QRV_LINUX_BUILD:-$root/build}
frames=200
source "$root/tools/windows/wine-env.sh"

[[ -f $zip ]] || { echo "zip-check: no $zip (make windows makes it)" >&2; exit 1; }
[[ -f $linux_build/build.ninja ]] || {
  echo "zip-check: no Linux build in $linux_build (make configure makes one)" >&2
  exit 1
}
cmake --build "$linux_build" --target skipdale2 >/dev/null

scratch=$(mktemp -d /tmp/qrv-zip-check.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/windows" "$scratch/windows-shots" "$scratch/linux-shots"
(cd "$scratch/windows" && unzip -q "$zip")
hooks=(QRV_UNPACED=1 "QRV_FRAMES=$frames" "QRV_REPLAY=$root/game/demo.replay"
       "QRV_CAPTURE_FRAMES=1,$(seq -s, 10 10 "$frames")")

# The Linux game as built: its Media folder beside it.
env "${hooks[@]}" "QRV_CAPTURE=$scratch/linux-shots" "SKIPDALE_TRACE=$scratch/linux-trace.txt" \
  "$linux_build/game/skipdale2"
# The game from the zip, alone in its folder with its README. Wine is given paths as Windows
# programs see the machine's files (Z: is the root).
env "${hooks[@]}" "QRV_CAPTURE=Z:$scratch/windows-shots" \
  "SKIPDALE_TRACE=Z:$scratch/windows-trace.txt" wine "$scratch/windows/skipdale2.exe"
# Wine's server ends by itself a moment after its last program; stop it if it still runs.
wineserver -k 2>/dev/null || true

/usr/bin/python3 - "$scratch" "$frames" <<'PY'
import os, sys
from PIL import Image

scratch, frames = sys.argv[1], int(sys.argv[2])
names = sorted(os.listdir(os.path.join(scratch, "linux-shots")))
expected = ["frame-%06d.png" % n for n in [1] + list(range(10, frames + 1, 10))]
failures = []
if names != expected:
    failures.append("the Linux run saved %s, not %s" % (names, expected))
for name in expected:
    shots = [os.path.join(scratch, side + "-shots", name) for side in ("linux", "windows")]
    if not os.path.exists(shots[1]):
        failures.append("%s: not saved by the game from the zip" % name)
        continue
    linux, windows = (Image.open(path).convert("RGB") for path in shots)
    if linux.size != windows.size or linux.tobytes() != windows.tobytes():
        failures.append("%s: the pictures differ" % name)
traces = []
for side in ("linux", "windows"):
    with open(os.path.join(scratch, side + "-trace.txt"), "rb") as trace:
        traces.append(trace.read().replace(b"\r\n", b"\n").splitlines())
if len(traces[0]) != frames:
    failures.append("the Linux trace has %d lines for %d frames" % (len(traces[0]), frames))
if traces[0] != traces[1]:
    differ = next((i for i, pair in enumerate(zip(*traces)) if pair[0] != pair[1]),
                  min(map(len, traces)))
    failures.append("the traces differ from line %d on" % (differ + 1))
if failures:
    print("zip-check: the game from the zip does not play as on Linux:")
    for failure in failures:
        print("  " + failure)
    sys.exit(1)
print("zip-check: the game from the zip played the demo's %d frames as on Linux "
      "(%d frames compared, trace identical)" % (frames, len(expected)))
PY
