#!/usr/bin/env python3
"""Draws nivra's window icon and writes it as a multi-size .ico (32-bit images with alpha).

The picture: a rounded tile in deep blue to teal, a white chromatogram trace with three peaks
over its baseline, and an amber dot marking the compared pair. Pure Python, no imaging library.

Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZES = (16, 24, 32, 48, 64)
SUPERSAMPLE = 4


def lerp(a, b, t):
    return a + (b - a) * t


def rounded_box_inside(x, y, size, radius):
    """Whether (x, y) in unit coordinates lies in the rounded tile."""
    margin = 0.04
    lo, hi = margin, 1 - margin
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and lo <= x <= hi and lo <= y <= hi


def trace(x):
    """The chromatogram: baseline at 0.78 with three peaks, y grows downwards."""
    peaks = ((0.30, 0.045, 0.42), (0.52, 0.035, 0.22), (0.72, 0.05, 0.50))
    height = sum(h * math.exp(-((x - c) / w) ** 2 / 2) for c, w, h in peaks)
    return 0.78 - height


TRACE_POINTS = [(0.14 + i * 0.72 / 200, trace(0.14 + i * 0.72 / 200)) for i in range(201)]


def distance_to_trace(x, y):
    best = 1e9
    for (x0, y0), (x1, y1) in zip(TRACE_POINTS, TRACE_POINTS[1:]):
        if x < x0 - 0.1 or x > x1 + 0.1:
            continue
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        best = min(best, math.hypot(x - px, y - py))
    return best


def sample(x, y, size):
    """Colour (r, g, b, a) in 0..1 of one sub-pixel."""
    if not rounded_box_inside(x, y, size, 0.18):
        return (0.0, 0.0, 0.0, 0.0)
    top, bottom = (0.10, 0.22, 0.52), (0.05, 0.55, 0.60)
    colour = tuple(lerp(a, b, y) for a, b in zip(top, bottom))
    stroke = max(0.045, 1.4 / size)
    if distance_to_trace(x, y) <= stroke / 2:
        colour = (1.0, 1.0, 1.0)
    dot = (0.72, trace(0.72) - 0.10)
    if math.hypot(x - dot[0], y - dot[1]) <= max(0.07, 1.2 / size):
        colour = (1.0, 0.72, 0.15)
    return colour + (1.0,)


def render(size):
    """Rows of BGRA bytes, bottom row first as a DIB wants them."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(n):
                for sx in range(n):
                    cr, cg, cb, ca = sample((px + (sx + 0.5) / n) / size,
                                            (py + (sy + 0.5) / n) / size, size)
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            if a > 0:
                r, g, b = r / a, g / a, b / a
            a /= n * n
            row += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
        rows.append(bytes(row))
    return rows[::-1]


def dib(size):
    pixels = b"".join(render(size))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # all opaque: alpha decides
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [dib(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
