#!/usr/bin/env python3
"""Draws the application icon (res/vintrel.png): a rounded teal tile with a white V."""
import math
import struct
import sys
import zlib

SIZE = 32


def coverage(x, y):
    """Fraction of the pixel at (x, y) inside the rounded tile, by 4x4 supersampling."""
    inside = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            r = 7.0
            cx = min(max(px, r), SIZE - r)
            cy = min(max(py, r), SIZE - r)
            inside += (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside / 16


def on_v(px, py):
    """Inside the V glyph: two thick strokes meeting at the bottom centre."""
    def dist(ax, ay, bx, by):
        t = max(0.0, min(1.0, ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) /
                         ((bx - ax) ** 2 + (by - ay) ** 2)))
        return math.hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay)))
    return min(dist(9, 9, 16, 24), dist(23, 9, 16, 24)) <= 2.6


def pixel(x, y):
    a = coverage(x, y)
    if a == 0:
        return (0, 0, 0, 0)
    t = y / (SIZE - 1)
    top, bottom = (38, 166, 154), (21, 101, 122)
    r, g, b = (round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
    glyph = sum(on_v(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) for sy in range(4) for sx in range(4)) / 16
    r, g, b = (round(c + (255 - c) * glyph) for c in (r, g, b))
    return (r, g, b, round(255 * a))


def png(width, height, rows):
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    with open(sys.argv[1] if len(sys.argv) > 1 else "res/vintrel.png", "wb") as f:
        f.write(png(SIZE, SIZE, rows))
