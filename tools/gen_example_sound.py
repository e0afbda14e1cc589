#!/usr/bin/env python3
# Builds the game example's sound, a short falling "zap" (a square wave sweeping from 1200 Hz
# down to 200 Hz in 0.15 s, fading out), as an 8-bit mono WAV at 11025 Hz, so that every
# sample of it can be rebuilt and reviewed.
# Usage: tools/gen_example_sound.py [OUT]   (default examples/media/zap.wav)
import os
import sys
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RATE = 11025
SECONDS = 0.15


def samples():
    count = int(RATE * SECONDS)
    phase = 0.0
    for i in range(count):
        t = i / count
        phase = (phase + (1200 - 1000 * t) / RATE) % 1.0
        level = 60 * (1 - t)  # of the 8-bit range's 127 either side of 128
        yield 128 + int(level if phase < 0.5 else -level)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "examples", "media", "zap.wav")
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(bytes(samples()))


if __name__ == "__main__":
    main()
