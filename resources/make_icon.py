#!/usr/bin/env python3
"""Draws the program's emblem and writes it as hf.ico.

The emblem is a dark blue tile carrying a teal received waveform and an amber
tuning marker with its antenna dot. Every size is drawn from the same
geometry at its own resolution (not scaled down from the largest), so the
small images stay crisp. The pictures depend on nothing but this file: run it
again after a change and commit both.

    python3 resources/make_icon.py [output.ico]
"""

import math
import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
SUPERSAMPLING = 4  # samples per pixel side

TILE_TOP = (0x12, 0x33, 0x5E)
TILE_BOTTOM = (0x08, 0x18, 0x33)
TILE_EDGE = (0x2A, 0x5B, 0x8F)
TEAL = (0x1F, 0xC1, 0xB0)
AMBER = (0xF5, 0xA6, 0x23)


def rounded_square_distance(x, y, half, radius):
    """Signed distance to a square of half side `half` centred on (0.5, 0.5)."""
    qx = abs(x - 0.5) - half + radius
    qy = abs(y - 0.5) - half + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


WAVE_LEFT, WAVE_RIGHT, WAVE_BASE = 0.16, 0.84, 0.56


def waveform(x):
    """A tone burst: three cycles under a raised-cosine envelope."""
    t = (x - WAVE_LEFT) / (WAVE_RIGHT - WAVE_LEFT)
    envelope = 0.5 - 0.5 * math.cos(2 * math.pi * t)
    return WAVE_BASE - 0.2 * envelope * math.sin(2 * math.pi * 3 * t)


def waveform_distance(x, y, reach):
    """Distance to the trace, looked for only within `reach` of x."""
    steps = 8
    best = math.inf
    for i in range(-steps, steps + 1):
        cx = min(max(x + reach * i / steps, WAVE_LEFT), WAVE_RIGHT)
        best = min(best, math.hypot(x - cx, y - waveform(cx)))
    return best


MARKER_X, MARKER_TOP, MARKER_BOTTOM = 0.62, 0.24, 0.84


def marker_distance(x, y):
    """Distance to the vertical tuning line, from the dot down to the base."""
    return math.hypot(x - MARKER_X, y - min(max(y, MARKER_TOP), MARKER_BOTTOM))


def sample(x, y, size):
    """Colour of one sample point in unit coordinates, None outside the tile."""
    tile = rounded_square_distance(x, y, 0.46, 0.12)
    if tile > 0.0:
        return None
    # Half-widths keep every stroke at least about a pixel and a half wide at
    # the smallest size.
    wave_half_width = max(0.036, 0.75 / size)
    if math.hypot(x - MARKER_X, y - MARKER_TOP) <= max(0.07, 1.2 / size):
        return AMBER
    if marker_distance(x, y) <= max(0.02, 0.55 / size):
        return AMBER
    if (abs(y - WAVE_BASE) < 0.22 + wave_half_width
            and waveform_distance(x, y, wave_half_width) <= wave_half_width):
        return TEAL
    if tile > -max(0.025, 0.8 / size):
        return TILE_EDGE
    mix = min(max((y - 0.04) / 0.92, 0.0), 1.0)
    return tuple(round(a + (b - a) * mix) for a, b in zip(TILE_TOP, TILE_BOTTOM))


def render(size):
    """Rows of (r, g, b, a) tuples, top row first, straight alpha."""
    n = SUPERSAMPLING
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            inside = [colour for sy in range(n) for sx in range(n)
                      if (colour := sample((px + (sx + 0.5) / n) / size,
                                           (py + (sy + 0.5) / n) / size, size))]
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            mean = [round(sum(c[i] for c in inside) / len(inside)) for i in range(3)]
            row.append((*mean, round(255 * len(inside) / (n * n))))
        rows.append(row)
    return rows


def png(rows):
    """A PNG file of 8-bit RGBA without any time or text chunk."""
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(rows):
    """An icon DIB: 32-bit BGRA bottom-up, then the 1-bit mask from alpha."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colours + bytes(mask)


def icon(images):
    """An .ico file from (size, encoded image) pairs."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        dimension = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "hf.ico")
    # The largest image as PNG keeps the file small; the others as DIBs load
    # everywhere icons load.
    images = [(size, png(render(size)) if size == 256 else dib(render(size))) for size in SIZES]
    with open(output, "wb") as f:
        f.write(icon(images))


if __name__ == "__main__":
    main()
