#!/usr/bin/env python3
"""Draws the program's icon, data/quillomark.png: a white quill over a blue rounded square with a
red line of ink under it. Run it again after changing the drawing:
    python3 datagen/icon/make_icon.py data/quillomark.png"""
import struct
import sys
import zlib

SIZE = 128
SAMPLES = 4  # per pixel and axis

BLUE = (31, 78, 153)
WHITE = (255, 255, 255)
RED = (214, 48, 49)

# Shapes in a 0..1 square, painted in order: (colour, test(x, y) -> inside).
def rounded_square(x, y, r=0.18):
    cx, cy = min(max(x, r), 1 - r), min(max(y, r), 1 - r)
    return 0 <= x <= 1 and 0 <= y <= 1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def polygon(points):
    def inside(x, y):
        hit = False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside

# The feather: a long leaf from the nib (lower left) to the tip (upper right), and its shaft.
FEATHER = polygon([(0.24, 0.80), (0.34, 0.58), (0.52, 0.36), (0.74, 0.18), (0.86, 0.14),
                   (0.82, 0.26), (0.66, 0.46), (0.46, 0.64), (0.28, 0.78)])
SHAFT = polygon([(0.22, 0.84), (0.80, 0.20), (0.82, 0.22), (0.24, 0.86)])
INK = polygon([(0.18, 0.86), (0.82, 0.86), (0.82, 0.90), (0.18, 0.90)])

SHAPES = [(BLUE, rounded_square), (WHITE, FEATHER), (BLUE, SHAFT), (RED, INK)]

def pixel(px, py):
    total = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / SIZE
            y = (py + (sy + 0.5) / SAMPLES) / SIZE
            colour = None
            for c, inside in SHAPES:
                if inside(x, y):
                    colour = c
            if colour:
                for i in range(3):
                    total[i] += colour[i]
                total[3] += 255
    n = SAMPLES * SAMPLES
    alpha = total[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    covered = total[3] / 255
    return tuple(int(round(total[i] / covered)) for i in range(3)) + (int(round(alpha)),)

def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
with open(sys.argv[1] if len(sys.argv) > 1 else "quillomark.png", "wb") as out:
    out.write(png(SIZE, SIZE, rows))
