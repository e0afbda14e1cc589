#!/usr/bin/env python3
# Builds the 3D example's object, a bird with three key frames of its wing beat (wings up,
# level, down), as a version 2.0 ".ddd" file, so that every vertex of it can be rebuilt
# and reviewed. The normals are stored as indices into the runtime's own table of 162.
# Usage: tools/gen_example_model.py [OUT]   (default examples/media/bird.ddd)
import math
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAGIC = 0x00C6B317



def rgb(r, g, b):
    """A packed colour: red in bits 0-7, green 8-15, blue 16-23."""
    return r | g << 8 | b << 16


COLOURS = [rgb(40, 90, 200), rgb(240, 200, 40), rgb(250, 120, 20)]  # body, wings, beak


def normal_table():
    text = open(os.path.join(ROOT, "src", "scene3d", "normal_table.cpp")).read()
    numbers = [float(n) for n in re.findall(r"(-?\d+\.\d+)f", text)]
    return [tuple(numbers[i:i + 3]) for i in range(0, len(numbers), 3)]


TABLE = normal_table()


def nearest_normal(n):
    return max(range(len(TABLE)), key=lambda i: sum(a * b for a, b in zip(n, TABLE[i])))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def unit(v):
    length = math.sqrt(sum(x * x for x in v)) or 1.0
    return tuple(x / length for x in v)


def triangle(a, b, c, colour):
    """Three vertices, counter-clockwise seen from the front, with their flat normal."""
    n = nearest_normal(unit(cross(sub(b, a), sub(c, a))))
    return [(a, n, colour), (b, n, colour), (c, n, colour)]


def bird(lift):
    """The bird flying along -z, its wing tips raised by `lift`."""
    nose, tail = (0, 0, -1.2), (0, 0.1, 1.0)
    top, bottom, left, right = (0, 0.35, 0), (0, -0.3, 0), (-0.3, 0, 0), (0.3, 0, 0)
    beak = (0, -0.05, -1.55)
    tris = []
    # The body: two pyramids joined at the middle ring.
    ring = [top, right, bottom, left]
    for i in range(4):
        a, b = ring[i], ring[(i + 1) % 4]
        tris += triangle(nose, a, b, 0)
        tris += triangle(tail, b, a, 0)
    tris += triangle(nose, top, beak, 2) + triangle(nose, beak, top, 2)
    # The wings, one triangle each way up so both faces show.
    for side in (-1, 1):
        root_front, root_back = (0.25 * side, 0, -0.3), (0.25 * side, 0, 0.5)
        tip = (1.6 * side, lift, 0.3)
        tris += triangle(root_front, tip, root_back, 1) + triangle(root_front, root_back, tip, 1)
    return tris


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "examples", "media", "bird.ddd")
    frames = [bird(0.8), bird(0.0), bird(-0.8)]
    count = len(frames[0])
    data = struct.pack("<Id3I", MAGIC, 2.0, len(frames), len(COLOURS), count)
    data += b"".join(struct.pack("<I", c) for c in COLOURS)
    data += struct.pack("<%df" % (2 * count), *([0.0] * 2 * count))
    for frame in frames:
        data += struct.pack("<I", count)
        for (x, y, z), normal, colour in frame:
            data += struct.pack("<3f2B", x, y, z, normal, colour)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
