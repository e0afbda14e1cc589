#!/bin/sh
# emcc for building the browser's libraries, without emcc's own start-up where it adds
# nothing: a compile (-c) or a preprocessing (-E) goes straight to emscripten's clang with
# the flags emcc gives clang itself (`emcc --cflags`), so the objects are byte for byte
# emcc's; anything else (a link, a question such as -v, emcc's own settings) goes to emcc.
# A configure script compiles hundreds of small tests, and emcc spends most of a second
# starting before each (lzo2's configure took 415 s through emcc and 247 s through this,
# run side by side).
#
# tools/web/deps.sh sets QRV_EMCC_CLANG (the clang emcc runs) and QRV_EMCC_CFLAGS.
direct=
for arg in "$@"; do
  case $arg in
    -c | -E) direct=yes ;;
    # emcc's own settings and options, and those that change the flags it adds: emcc.
    -s[A-Z]* | --* | -pthread | -fexceptions | -fwasm-exceptions | -mwasm64) direct=no; break ;;
  esac
done
if [ "$direct" = yes ] && [ -n "${QRV_EMCC_CLANG:-}" ]; then
  # shellcheck disable=SC2086  # the flags are words, as emcc prints them
  exec "$QRV_EMCC_CLANG" $QRV_EMCC_CFLAGS "$@"
fi
exec emcc "$@"
