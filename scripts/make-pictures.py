#!/usr/bin/env python3
"""Draws the two 62 x 62 panel pictures (compass rose, seeker cross) as 24-bit BMP files.

The pictures are centred at (31, 31); the program draws its needles and marks over fresh
copies of them. Run from the repository root: python3 scripts/make-pictures.py
"""
import math
import struct

SIZE = 62
CENTRE = 31


def blank(colour):
    return [[colour for _ in range(SIZE)] for _ in range(SIZE)]


def put(img, x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        img[y][x] = colour


def line(img, x0, y0, x1, y1, colour):
    steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
    for i in range(steps + 1):
        t = i / steps
        put(img, int(round(x0 + (x1 - x0) * t)), int(round(y0 + (y1 - y0) * t)), colour)


def circle(img, radius, colour):
    for i in range(720):
        a = math.radians(i / 2)
        put(img, int(round(CENTRE + radius * math.cos(a))),
            int(round(CENTRE + radius * math.sin(a))), colour)


def save(img, path):
    row_bytes = SIZE * 3
    pad = (4 - row_bytes % 4) % 4
    data = bytearray()
    for y in range(SIZE - 1, -1, -1):
        for (r, g, b) in img[y]:
            data += bytes((b, g, r))
        data += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def compass():
    face = (236, 233, 216)
    dark = (64, 64, 64)
    img = blank(face)
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - CENTRE) ** 2 + (y - CENTRE) ** 2 <= 29 ** 2:
                img[y][x] = (255, 255, 255)
    circle(img, 29, dark)
    for deg in range(0, 360, 30):
        a = math.radians(deg)
        inner = 22 if deg % 90 == 0 else 25
        line(img, CENTRE + inner * math.cos(a), CENTRE + inner * math.sin(a),
             CENTRE + 29 * math.cos(a), CENTRE + 29 * math.sin(a), dark)
    # Cardinal arrow heads point outwards; the one at 270 degrees (up) is red: north.
    for deg in (0, 90, 180, 270):
        a = math.radians(deg)
        colour = (200, 0, 0) if deg == 270 else dark
        tip = (CENTRE + 21 * math.cos(a), CENTRE + 21 * math.sin(a))
        for side in (-0.25, 0.25):
            line(img, tip[0], tip[1], CENTRE + 14 * math.cos(a + side),
                 CENTRE + 14 * math.sin(a + side), colour)
    put(img, CENTRE, CENTRE, dark)
    return img


def cross():
    # A light face, so that the black antenna limits, the maroon horizon and the red target dot
    # drawn over it stay visible.
    back = (232, 240, 232)
    mark = (96, 160, 96)
    img = blank(back)
    line(img, 0, CENTRE, SIZE - 1, CENTRE, mark)
    line(img, CENTRE, 0, CENTRE, SIZE - 1, mark)
    # A tick every 15 degrees (31 pixels per 45 degrees).
    for k in range(-3, 4):
        if k == 0:
            continue
        p = CENTRE + int(k * 31 / 3)
        line(img, p, CENTRE - 2, p, CENTRE + 2, mark)
        line(img, CENTRE - 2, p, CENTRE + 2, p, mark)
    circle(img, 15.5, (150, 190, 150))
    return img


if __name__ == "__main__":
    save(compass(), "src/ui/pictures/compass.bmp")
    save(cross(), "src/ui/pictures/cross.bmp")
