#!/usr/bin/env bash
# Runs a command with a display and an audio driver: the real ones when present,
# else a virtual X display and SDL's silent audio driver.
set -euo pipefail
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -ardelay 10000" "$@"
