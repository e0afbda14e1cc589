#!/usr/bin/env bash
# The GL cost of a steady frame: runs the game and every example (or the programs named)
# for 60 presents, unpaced, under a display (virtual when there is none), traces their GL
# calls with apitrace and prints, per frame over frames 10 to 49 (the frames after the 10th
# buffer swap and up to the 50th), the GL calls, the draw calls, the read-backs and the
# waits: calls that hand the program an answer from the driver (state queries such as
# glGet* and glIs*, glFinish), which a driver working on a thread of its own gives only once
# it has caught up with every call before. Read-backs are not counted again as waits.
# Programs with a replay of their own (game/demo.replay, examples/NAME.replay) play it.
# Usage: tools/gl-calls.sh [BUILD_DIR [PROGRAM...]]
# Output: one line per program: "NAME calls=C draws=D readbacks=R waits=W" (per frame,
# averaged to one decimal); a program that ends before its 50th swap prints
# "NAME frames=N (too few)". Settings in the environment reach the programs (QRV_SCALE=2).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
source_dir=$(cd "$(dirname "$0")/.." && pwd)
command -v apitrace >/dev/null || {
  echo "gl-calls: apitrace is missing: install it with bash tools/install-deps.sh" >&2
  exit 1
}
work=$(mktemp -d /tmp/qrv-glcalls-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The runtime ends with _Exit, which the tracer does not catch: the calls it still holds
# would be lost. This preloaded function ends through _exit, which the tracer catches and
# which writes the trace out first.
printf '#include <unistd.h>\nvoid _Exit(int status) { _exit(status); }\n' |
  cc -shared -fPIC -o "$work/exit_through_tracer.so" -x c -

programs=("$@")
if [[ ${#programs[@]} -eq 0 ]]; then
  programs=("$build/game/skipdale2")
  for program in "$build"/examples/example_*; do
    [[ -x "$program" ]] && programs+=("$program")
  done
fi

# Counts the calls of frames 10..49 in a trace's dump (one call per line).
count_frames() {
  awk '
    /^glXSwapBuffers|^eglSwapBuffers|^wglSwapBuffers/ { swaps++; if (swaps >= 10 && swaps < 50) calls++; next }
    # Pixels read into a pixel buffer object are not a read-back: the driver fills the
    # buffer on its own time; mapping the buffer is.
    /^glBindBuffer(ARB)?\(GL_PIXEL_PACK_BUFFER/ { packing = ($0 !~ /, 0\)/) }
    {
      if (swaps < 10 || swaps >= 50) next
      calls++
      if ($0 ~ /^gl(Multi)?Draw|^glBegin\(/) draws++
      if ($0 ~ /^glReadn?Pixels/ && packing) next
      if ($0 ~ /^gl(Readn?Pixels|Get(n)?TexImage|GetCompressedTexImage|GetBufferSubData|MapBuffer)/) reads++
      else if ($0 ~ /^gl(Get|Is[A-Z]|CheckFramebufferStatus|Finish\(|ClientWaitSync)/) waits++
    }
    END {
      if (swaps < 50) { printf "frames=%d (too few)\n", swaps; exit }
      printf "calls=%.1f draws=%.1f readbacks=%.1f waits=%.1f\n", calls / 40, draws / 40,
        reads / 40, waits / 40
    }'
}

for program in "${programs[@]}"; do
  program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
  # The settings example adds a box for every run it remembers: each trace starts afresh.
  rm -f "$(dirname "$program")/example_settings.ini"
  name=$(basename "$program")
  settings=(TMPDIR="$work" QRV_FRAMES=60 QRV_UNPACED=1)
  case "$name" in
    skipdale2) replay="$source_dir/game/demo.replay" ;;
    *) replay="$source_dir/examples/${name#example_}.replay" ;;
  esac
  [[ -f "$replay" ]] && settings+=(QRV_REPLAY="$replay")
  trace="$work/$name.trace"
  # The game finds its media from its own folder; the examples from theirs.
  (cd "$(dirname "$program")" &&
    env "${settings[@]}" bash "$source_dir/tools/with-display.sh" \
      env LD_PRELOAD="$work/exit_through_tracer.so" apitrace trace -a gl -o "$trace" "$program" >"$work/$name.log" 2>&1) || true
  if [[ ! -s "$trace" ]]; then
    echo "$name no trace (see the program's output below)"
    tail -5 "$work/$name.log" | sed 's/^/  /'
    continue
  fi
  rm -f "$(dirname "$program")/example_settings.ini"
  echo "$name $(apitrace dump --call-nos=no --arg-names=no --multiline=no "$trace" | count_frames)"
done
