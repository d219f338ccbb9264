#!/usr/bin/env python3
"""Draws the default skin (res/Skins/Default): the non-client background and the
caption-button strips. Usage: make_default_skin.py OUTPUT_FOLDER

The background is laid out for a 38-pixel caption and 3-pixel borders: the
caption's two 50-pixel ends are copied as they are, the band between them is
stretched from the 5-pixel slice at x = 50, the edges from 3 x 3 samples and
the bottom corners from the image's 38 x 38 corners. Button strips hold three
20 x 22 frames side by side: normal, hover, pressed.

Each image is also drawn at twice the density, as name@2x.ext: the same layout in
logical pixels, with the shapes rendered on the finer grid rather than doubled."""
import math
import os
import struct
import sys
import zlib

CAPTION = 38
BORDER = 3
BACKGROUND_SIZE = (120, 90)
FRAME_SIZE = (20, 22)
FRAMES = 3
SUPERSAMPLE = 4
SCALES = (1, 2)

OUTLINE = (20, 27, 31)        # the window's 1-pixel outer edge
HIGHLIGHT = (62, 79, 88)      # the caption's top light line
BODY = (38, 50, 56)           # caption and borders
CLIENT = (255, 255, 255)      # under the client area: never shown

GLYPH = (207, 216, 220)
GLYPH_ACTIVE = (255, 255, 255)
GLYPH_PRESSED = (176, 190, 197)
HOVER = (62, 79, 88)
PRESSED = (26, 35, 40)
CLOSE_HOVER = (229, 57, 53)
CLOSE_PRESSED = (183, 28, 28)


# --- files ---

def write_png(path, width, height, rgba_rows):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rgba_rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_bmp(path, width, height, rgb_rows):
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(
        bytes(v for (r, g, b) in row for v in (b, g, r)).ljust(stride, b"\x00")
        for row in reversed(rgb_rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(file_header + info + pixels)


# --- shapes, antialiased by supersampling ---

def segment_distance(px, py, ax, ay, bx, by):
    length2 = (bx - ax) ** 2 + (by - ay) ** 2
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / length2))
    return math.hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay)))


def strokes(segments, width):
    """A shape made of straight strokes of the given width."""
    return lambda px, py: any(segment_distance(px, py, *s) <= width / 2 for s in segments)


def ring(cx, cy, radius, width):
    return lambda px, py: abs(math.hypot(px - cx, py - cy) - radius) <= width / 2


def disc(cx, cy, radius):
    return lambda px, py: math.hypot(px - cx, py - cy) <= radius


def union(*shapes):
    return lambda px, py: any(shape(px, py) for shape in shapes)


def coverage(shape, x, y, scale):
    """How much of device pixel (x, y) at the given scale the shape (in logical units) covers."""
    hits = sum(shape((x + (sx + 0.5) / SUPERSAMPLE) / scale, (y + (sy + 0.5) / SUPERSAMPLE) / scale)
               for sy in range(SUPERSAMPLE) for sx in range(SUPERSAMPLE))
    return hits / SUPERSAMPLE ** 2


def mix(under, over, amount):
    return tuple(round(u + (o - u) * amount) for u, o in zip(under, over))


# --- the background ---

def background_pixel(x, y, width, height):
    if x == 0 or y == 0 or x == width - 1 or y == height - 1:
        return OUTLINE
    if y == 1:
        return HIGHLIGHT
    if y < CAPTION or x < BORDER or x >= width - BORDER or y >= height - BORDER:
        return BODY
    return CLIENT


def background(scale):
    width, height = BACKGROUND_SIZE
    return [[background_pixel(x // scale, y // scale, width, height) + (255,)
             for x in range(width * scale)] for y in range(height * scale)]


# --- the buttons ---

W, H = FRAME_SIZE
CX, CY = W / 2, H / 2

MINIMIZE = strokes([(5.5, 15.5, 14.5, 15.5)], 1.3)
MAXIMIZE = strokes([(5.5, 6.5, 14.5, 6.5), (14.5, 6.5, 14.5, 15.5),
                    (14.5, 15.5, 5.5, 15.5), (5.5, 15.5, 5.5, 6.5)], 1.3)
CLOSE = strokes([(6, 7, 14, 15), (14, 7, 6, 15)], 1.5)
ABOUT = union(ring(CX, CY, 6.5, 1.3), disc(CX, 7.6, 1.0), strokes([(CX, 10.2, CX, 14.6)], 1.5))


def frame_pixels(glyph, background_rgba, glyph_rgb, scale):
    rows = []
    for y in range(H * scale):
        row = []
        for x in range(W * scale):
            amount = coverage(glyph, x, y, scale)
            r, g, b, a = background_rgba
            if a == 0:
                row.append(glyph_rgb + (round(255 * amount),))
            else:
                row.append(mix((r, g, b), glyph_rgb, amount) + (a,))
        rows.append(row)
    return rows


def strip(glyph, looks, scale):
    """Three frames side by side, one per (background RGBA, glyph RGB) look."""
    frames = [frame_pixels(glyph, back, fore, scale) for back, fore in looks]
    return [sum((frame[y] for frame in frames), []) for y in range(H * scale)]


def opaque(rgb):
    return rgb + (255,)


WINDOW_BUTTON_LOOKS = [(opaque(BODY), GLYPH), (opaque(HOVER), GLYPH_ACTIVE),
                       (opaque(PRESSED), GLYPH_PRESSED)]
CLOSE_BUTTON_LOOKS = [(opaque(BODY), GLYPH), (opaque(CLOSE_HOVER), GLYPH_ACTIVE),
                      (opaque(CLOSE_PRESSED), GLYPH_ACTIVE)]
# The about button sits on the caption as it is: transparent until hovered.
ABOUT_BUTTON_LOOKS = [((0, 0, 0, 0), GLYPH), (opaque(HOVER), GLYPH_ACTIVE),
                      (opaque(PRESSED), GLYPH_PRESSED)]


def without_alpha(rows):
    return [[px[:3] for px in row] for row in rows]


def at_scale(name, scale):
    """name.ext at scale 1, name@<scale>x.ext above."""
    if scale == 1:
        return name
    stem, extension = os.path.splitext(name)
    return f"{stem}@{scale}x{extension}"


def main(out):
    dialog = os.path.join(out, "dialog")
    os.makedirs(dialog, exist_ok=True)
    width, height = BACKGROUND_SIZE
    for scale in SCALES:
        write_png(os.path.join(dialog, at_scale("DialogBkg.png", scale)), width * scale,
                  height * scale, background(scale))
        for name, glyph, looks in [("dlg_minimize_button.bmp", MINIMIZE, WINDOW_BUTTON_LOOKS),
                                   ("dlg_maxmize_button.bmp", MAXIMIZE, WINDOW_BUTTON_LOOKS),
                                   ("dlg_close_btn.bmp", CLOSE, CLOSE_BUTTON_LOOKS)]:
            write_bmp(os.path.join(dialog, at_scale(name, scale)), W * FRAMES * scale, H * scale,
                      without_alpha(strip(glyph, looks, scale)))
        about = strip(ABOUT, ABOUT_BUTTON_LOOKS, scale)
        write_png(os.path.join(dialog, at_scale("dlg_about_btn.png", scale)), W * FRAMES * scale,
                  H * scale, about)
        write_png(os.path.join(out, at_scale("Button.png", scale)), W * FRAMES * scale, H * scale,
                  about)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
