#!/usr/bin/env python3
# Draws Skipdale_2's bitmaps (the seven tiles, the figure facing left and right, the
# background) as code, so that every pixel of the game's art can be rebuilt and reviewed.
# Usage: tools/gen_media.py [OUT_DIR]   (default game/Media/gfx); writes 24-bit BMP files.
import math
import os
import struct
import sys

TILE = 20
KEY = (255, 0, 255)  # the game's transparent colour 0xFF00FF


def write_bmp(path, pixels):
    """Writes rows of (r, g, b) tuples, top row first, as an uncompressed 24-bit BMP."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):  # BMP rows run bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


class Noise:
    """A small linear congruential generator: the same art on every run and host."""

    def __init__(self, seed):
        self.state = seed

    def next(self, n):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 16) % n


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def shade(colour, amount):
    return tuple(max(0, min(255, c + amount)) for c in colour)


# --- Tiles ------------------------------------------------------------------------------

GRASS, GRASS_DARK = (78, 170, 60), (46, 120, 40)
SOIL, SOIL_DARK = (150, 98, 56), (112, 70, 40)
STONE, MORTAR = (150, 150, 160), (96, 96, 108)
WOOD, WOOD_DARK = (176, 124, 70), (120, 80, 44)


def speckled(colour, dark, seed):
    noise = Noise(seed)
    tile = canvas(TILE, TILE, colour)
    for _ in range(26):
        tile[noise.next(TILE)][noise.next(TILE)] = dark
    return tile


def grass_edge(tile, surface, seed):
    """Paints grass on the first four pixels below surface(x), with blades poking up."""
    noise = Noise(seed)
    for x in range(TILE):
        top = surface(x)
        for y in range(top, min(TILE, top + 4)):
            tile[y][x] = GRASS if y < top + 3 else GRASS_DARK
        if top > 0 and noise.next(3) == 0:
            tile[top - 1][x] = GRASS


def grass_block():
    tile = speckled(SOIL, SOIL_DARK, 11)
    grass_edge(tile, lambda x: 0, 12)
    return tile


def earth_block():
    return speckled(SOIL, SOIL_DARK, 21)


def stone_block():
    tile = canvas(TILE, TILE, STONE)
    for y in range(TILE):
        for x in range(TILE):
            offset = 0 if (y // 5) % 2 == 0 else 5
            if y % 5 == 4 or (x + offset) % 10 == 9:
                tile[y][x] = MORTAR
            elif y % 5 == 0 or (x + offset) % 10 == 0:
                tile[y][x] = shade(STONE, 30)
    return tile


def slope(rising_right):
    """The surface is the diagonal the walking rule follows; above it is transparent."""
    surface = (lambda x: TILE - 1 - x) if rising_right else (lambda x: x)
    tile = speckled(SOIL, SOIL_DARK, 31 if rising_right else 41)
    for x in range(TILE):
        for y in range(surface(x)):
            tile[y][x] = KEY
    grass_edge(tile, surface, 32)
    return tile


def plank():
    tile = canvas(TILE, TILE, WOOD)
    for y in range(TILE):
        for x in range(TILE):
            if y in (0, 9, 10, 19):
                tile[y][x] = WOOD_DARK
            elif (x * 7 + y * 3) % 11 == 0:
                tile[y][x] = shade(WOOD, -20)
    for x, y in ((3, 4), (16, 4), (3, 14), (16, 14)):  # nails
        tile[y][x] = (60, 60, 60)
    return tile


def flower():
    tile = canvas(TILE, TILE, KEY)
    for y in range(9, TILE):
        tile[y][10] = GRASS_DARK
    for x, y in ((7, 15), (8, 14), (12, 13), (13, 12)):
        tile[y][x] = GRASS
    for dx, dy in ((0, -2), (0, 2), (-2, 0), (2, 0), (-1, -1), (1, 1), (-1, 1), (1, -1)):
        tile[7 + dy][10 + dx] = (230, 70, 90)
    tile[7][10] = (250, 220, 60)
    return tile


# The tile graphics list, in the order the game loads it.
TILES = (
    ("t1.bmp", grass_block),
    ("t2.bmp", stone_block),
    ("t3.bmp", earth_block),
    ("tsloper.bmp", lambda: slope(True)),
    ("tslopel.bmp", lambda: slope(False)),
    ("t6.bmp", plank),
    ("t7.bmp", flower),
)

# --- The figure ---------------------------------------------------------------------------

# Facing right. The collision box is columns 4..14 and rows 2..38 of this 32x40 picture
# (the game draws it at x - 4, y - 2), and the soles sit on row 39, the pixel row the game
# keeps just above the floor; the mirror image faces left (drawn at x - 17).
FIGURE = """
................................
................................
................................
................................
......KKKKK.....................
.....KRRRRRK....................
....KRRRRRRRK...................
....KKKKKKKKKKK.................
.....KSSSSSSK...................
.....KSSSSKSK...................
.....KSSSSSSSK..................
.....KSSSSSSK...................
......KSSSSK....................
.......KSSK.....................
.....KKYYYYKK...................
....KYYYYYYYYK..................
....KYYYYYYYYYK.................
....KYYYYYYSSSSK................
....KYYYYYYKKKK.................
....KYYYYYYYK...................
....KYYYYYYYK...................
....KWWWWWWWK...................
....KYYYYYYYK...................
....KYYYYYYYK...................
....KBBBBBBBK...................
....KBBBBBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KBBBKBBBK...................
....KDDDKDDDDK..................
....KDDDKDDDDDK.................
....KDDDKDDDDDK.................
....KKKKKKKKKKK.................
"""

PALETTE = {
    ".": KEY,
    "K": (30, 24, 30),
    "R": (200, 40, 40),
    "S": (240, 190, 150),
    "Y": (250, 200, 50),
    "W": (120, 70, 30),
    "B": (50, 80, 170),
    "D": (90, 50, 30),
}


def figure_right():
    rows = FIGURE.strip().splitlines()
    assert len(rows) == 40 and all(len(r) == 32 for r in rows)
    return [[PALETTE[c] for c in row] for row in rows]


def figure_left():
    return [list(reversed(row)) for row in figure_right()]


# --- The background -----------------------------------------------------------------------


def ridge(x, phase, scale):
    return (math.sin(x / 97.0 + phase) * 0.5 + math.sin(x / 41.0 + 2 * phase) * 0.3
            + math.sin(x / 17.0 + 3 * phase) * 0.2) * scale


def background():
    width, height = 640, 480
    image = []
    for y in range(height):
        t = y / (height - 1)
        image.append([(int(110 + 110 * t), int(170 + 60 * t), int(235 + 15 * t))] * width)
    for cx, cy, radius in ((520, 80, 34),):  # the sun
        for y in range(cy - radius, cy + radius + 1):
            for x in range(cx - radius, cx + radius + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    image[y][x] = (255, 236, 150)
    for cx, cy, rx, ry in ((120, 70, 60, 16), (170, 60, 40, 14), (330, 120, 70, 14),
                           (380, 112, 36, 12)):  # clouds
        for y in range(cy - ry, cy + ry + 1):
            for x in range(cx - rx, cx + rx + 1):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    image[y][x] = (245, 248, 252)
    for base, phase, scale, colour in ((250, 0.3, 60, (120, 140, 175)),
                                       (320, 1.7, 40, (90, 130, 110))):  # two mountain ridges
        for x in range(width):
            top = int(base - ridge(x, phase, scale))
            for y in range(max(0, top), height):
                image[y][x] = shade(colour, (y - top) // 12 * -3)
    return image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "game", "Media", "gfx")
    os.makedirs(out, exist_ok=True)
    pictures = [(name, draw) for name, draw in TILES]
    pictures += [("left.bmp", figure_left), ("right.bmp", figure_right), ("bg.bmp", background)]
    for name, draw in pictures:
        write_bmp(os.path.join(out, name), draw())
        print(os.path.join(out, name))


if __name__ == "__main__":
    main()
