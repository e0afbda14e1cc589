#!/usr/bin/env bash
# Runs the browser tests (tests/web/): programs built with emcc into tools/web/shell.html and
# run in headless Chromium by tools/web/run-page.py. Extra arguments go to unittest
# (e.g. -k persist).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
# Debian's own Python, which has the PIL module of python3-pil.
exec /usr/bin/python3 -m unittest discover -s tests/web -t tests/web -v "$@"
