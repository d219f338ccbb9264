"""Reads the default skin's images, so that tests compare the screen with them."""
import os
import struct
import zlib

SKIN_DIR = os.path.join(os.path.dirname(__file__), "..", "..", "res", "Skins", "Default")


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def load_png(name, max_rows=None):
    """(width, height, rows of (r, g, b, a)) of an 8-bit RGB or RGBA, non-interlaced PNG of the
    skin, or at any other path; only its first max_rows rows when given."""
    data = open(os.path.join(SKIN_DIR, name), "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, tag = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if tag == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError(f"{name}: unsupported PNG layout")
        elif tag == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 4 if colour == 6 else 3
    raw, stride, previous, rows = zlib.decompress(idat), width * channels, bytes(width * channels), []
    for y in range(height if max_rows is None else min(height, max_rows)):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            line[i] = (line[i] + (0, left, up, (left + up) // 2, _paeth(left, up, corner))[kind]) & 0xFF
        previous = bytes(line)
        rows.append([tuple(line[x * channels:x * channels + 3]) + ((line[x * channels + 3],) if channels == 4 else (255,))
                     for x in range(width)])
    return width, height, rows


def load_bmp(name):
    """(width, height, rows of (r, g, b, 255)) of a 24-bit uncompressed BMP, top row first."""
    data = open(os.path.join(SKIN_DIR, name), "rb").read()
    offset = struct.unpack("<I", data[10:14])[0]
    width, height, _, bits, compression = struct.unpack("<iiHHI", data[18:34])
    if bits != 24 or compression != 0:
        raise ValueError(f"{name}: unsupported BMP layout")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source_row = abs(height) - 1 - y if height > 0 else y
        start = offset + source_row * stride
        rows.append([(data[start + x * 3 + 2], data[start + x * 3 + 1], data[start + x * 3], 255)
                     for x in range(width)])
    return width, abs(height), rows


def hex_colour(pixel):
    return "%02X%02X%02X" % pixel[:3]
