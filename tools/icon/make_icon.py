#!/usr/bin/env python3
"""Draws the application icon: a rounded teal tile with a white V, as a scalable SVG and as PNGs
at the sizes desktops ask for. Usage: make_icon.py [OUTPUT_FOLDER] (default res/icon)."""
import math
import os
import struct
import sys
import zlib

DESIGN = 32  # the drawing's own units; every size is this scaled
SIZES = (16, 24, 32, 48, 64, 128, 256)
CORNER = 7.0
V_POINTS = ((9, 9), (16, 24), (23, 9))
V_HALF_WIDTH = 2.6
TOP, BOTTOM = (38, 166, 154), (21, 101, 122)
SAMPLES = 4  # per axis, for anti-aliasing


def inside_tile(px, py):
    cx = min(max(px, CORNER), DESIGN - CORNER)
    cy = min(max(py, CORNER), DESIGN - CORNER)
    return (px - cx) ** 2 + (py - cy) ** 2 <= CORNER * CORNER


def on_v(px, py):
    """Inside the V glyph: two thick strokes with round ends meeting at the bottom centre."""
    def dist(a, b):
        (ax, ay), (bx, by) = a, b
        t = max(0.0, min(1.0, ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) /
                         ((bx - ax) ** 2 + (by - ay) ** 2)))
        return math.hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay)))
    return min(dist(V_POINTS[0], V_POINTS[1]), dist(V_POINTS[1], V_POINTS[2])) <= V_HALF_WIDTH


def pixel(x, y, size):
    scale = DESIGN / size
    samples = [((x + (sx + 0.5) / SAMPLES) * scale, (y + (sy + 0.5) / SAMPLES) * scale)
               for sy in range(SAMPLES) for sx in range(SAMPLES)]
    tile = [p for p in samples if inside_tile(*p)]
    if not tile:
        return (0, 0, 0, 0)
    t = (y + 0.5) / size
    r, g, b = (TOP[i] + (BOTTOM[i] - TOP[i]) * t for i in range(3))
    glyph = sum(on_v(*p) for p in tile) / len(tile)
    r, g, b = (round(c + (255 - c) * glyph) for c in (r, g, b))
    return (r, g, b, round(255 * len(tile) / len(samples)))


def png(size):
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    rows = ([pixel(x, y, size) for x in range(size)] for y in range(size))
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg():
    colour = "#{:02x}{:02x}{:02x}".format
    path = " L".join(f"{x} {y}" for x, y in V_POINTS)
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{DESIGN}" height="{DESIGN}" \
viewBox="0 0 {DESIGN} {DESIGN}">
  <defs>
    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{colour(*TOP)}"/>
      <stop offset="1" stop-color="{colour(*BOTTOM)}"/>
    </linearGradient>
  </defs>
  <rect width="{DESIGN}" height="{DESIGN}" rx="{CORNER:g}" fill="url(#tile)"/>
  <path d="M{path}" fill="none" stroke="#ffffff" stroke-width="{2 * V_HALF_WIDTH:g}" \
stroke-linecap="round" stroke-linejoin="round"/>
</svg>
"""


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join("res", "icon")
    os.makedirs(folder, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(folder, f"vintrel-{size}.png"), "wb") as out:
            out.write(png(size))
    with open(os.path.join(folder, "vintrel.svg"), "w") as out:
        out.write(svg())
