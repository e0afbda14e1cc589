#!/usr/bin/env bash
# Runs a Windows program under Wine the way the build and the tests run it: the project's own
# Wine prefix, no debug channels, no offer to install .NET or a browser engine. The toolchain
# file makes this the emulator of cross-built programs (test discovery, ctest).
#
# `wine-run.sh wineserver ARGS` runs the prefix's Wine server (-w waits for its programs, -p
# keeps it running, -k ends it).
#
# QRV_UNIX_PATH hands the machine's PATH to the tests: Wine gives the programs it starts a
# Windows PATH, and the tests' shell commands need the machine's own.
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/quorvia/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export QRV_UNIX_PATH=${QRV_UNIX_PATH:-$PATH}
if [[ ${1:-} == wineserver ]]; then
  shift
  exec wineserver "$@"
fi
exec wine "$@"
