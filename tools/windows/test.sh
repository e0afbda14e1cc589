#!/usr/bin/env bash
# Runs the Windows build's test suite (build-windows/, made with QRV_WINDOWS_TESTS=1
# tools/windows/build.sh) under Wine on a virtual display, then says how many tests ran,
# passed, failed and were skipped, and why each skip happened. Extra arguments go to ctest
# (e.g. -R Settings). The whole log is build-windows/windows-test.log.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build-windows
log=$build/windows-test.log
source "$root/tools/windows/wine-env.sh"
# Wine takes the interface language from the locale: English (United States) for every run.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
[[ -f $build/CTestTestfile.cmake ]] || {
  echo "No Windows test build in $build: run QRV_WINDOWS_TESTS=1 tools/windows/build.sh" >&2
  exit 1
}

# On the display: one Wine server for the whole run, so that each program starts in a
# fraction of a second instead of seconds. Wine's own background programs start first,
# detached, so that none of them holds a test's output pipe open (ctest waits for that pipe
# to close).
if [[ ${1:-} == --on-display ]]; then
  shift
  wineserver -p
  # No window manager runs on the test display: Wine is to activate a window when the X focus
  # moves to it (the window tests move it with xdotool), not wait for a manager's word.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null 2>&1
  setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  status=0
  ctest --test-dir "$build" --timeout 300 --output-on-failure --output-junit "$build/windows-test.xml" \
    "$@" || status=$?
  wineserver -k || true
  exit "$status"
fi

set +e
bash "$root/tools/with-display.sh" bash "${BASH_SOURCE[0]}" --on-display "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e

# The counts, from ctest's own lines ("  1/484 Test   #1: Suite.Name ....   Passed  0.5 sec").
ran=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#' "$log" || true)
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#.*Passed +[0-9.]+ sec' "$log" || true)
skipped=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#.*Skipped +[0-9.]+ sec' "$log" || true)
failed=$((ran - passed - skipped))
echo
echo "Under Wine: $ran tests ran, $passed passed, $failed failed, $skipped skipped."
if [[ $skipped -gt 0 ]]; then
  echo "Skipped, with their reasons:"
  # GoogleTest writes a skip's reason on the line after "FILE:LINE: Skipped"; ctest's JUnit
  # report keeps every test's output.
  python3 - "$build/windows-test.xml" <<'PY'
import re, sys
import xml.etree.ElementTree as tree
try:
    cases = tree.parse(sys.argv[1]).getroot().iter("testcase")
except (OSError, tree.ParseError) as error:
    sys.exit(f"  (no report of the tests' output: {error})")
for case in cases:
    if case.get("status") not in ("notrun", "skipped") and case.find("skipped") is None:
        continue
    out = case.findtext("system-out") or ""
    reason = re.search(r": Skipped\n(.*)\n", out)
    print(f"  {case.get('name')}: {reason.group(1).strip() if reason else '(no reason given)'}")
PY
fi
exit "$status"
