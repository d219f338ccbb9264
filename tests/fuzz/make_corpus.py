#!/usr/bin/env python3
"""Writes the seed corpus of bad skin images into corpus/ beside this script: kinds of damage a
skin folder can hold, and a file whose name lies about its format."""

import os
import struct
import zlib

CORPUS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b""))


def truncated_png():
    """A well-formed 16 x 16 PNG cut off inside its pixel data."""
    rows = b"".join(b"\x00" + b"\x20\x40\x60\xff" * 16 for _ in range(16))
    whole = png(16, 16, rows)
    return whole[:len(whole) // 2]


def huge_png():
    """Well-formed chunks declaring 100000 x 100000 pixels (40 GB decoded), one row of data."""
    return png(100000, 100000, b"\x00" + b"\x00" * 4 * 16)


def lying_bmp():
    """A BMP whose headers claim 30000 x 30000 pixels at 32 bits and a size the file lacks."""
    width = height = 30000
    pixels = b"\x10\x20\x30\xff" * 4
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, width * height * 4,
                       2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + width * height * 4, 0, 0, 14 + 40)
    return file_header + info + pixels


def gif_named_png():
    """A whole 1 x 1 white GIF under a .png name. The decoder goes by content when the name's
    format does not fit, so this one loads as the GIF it is."""
    screen = b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0)
    palette = b"\xff\xff\xff\x00\x00\x00"
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x44\x01\x00"
    return screen + palette + image + b"\x3b"


FILES = {
    "truncated.png": truncated_png,
    "zero_bytes.bmp": lambda: b"",
    "lying_header.bmp": lying_bmp,
    "huge_100000x100000.png": huge_png,
    "gif_named.png": gif_named_png,
}


def main():
    os.makedirs(CORPUS_DIR, exist_ok=True)
    for name, make in FILES.items():
        with open(os.path.join(CORPUS_DIR, name), "wb") as out:
            out.write(make())


if __name__ == "__main__":
    main()
