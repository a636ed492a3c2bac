#!/usr/bin/env python3
"""Draws Tessival's icon, an open book with a red bookmark ribbon and lines of text on both pages, and writes
res/tessival.ico: five 32-bit images with alpha (48, 32, 16, 64, 24 pixels, in that order), each stored as
an uncompressed DIB with its 1-bit mask. Only the standard library is used: run it after changing the art."""

import os
import struct

SIZES = (48, 32, 16, 64, 24)
SUBSAMPLES = 6

COVER = (38, 74, 128)
COVER_EDGE = (24, 48, 90)
PAGE = (252, 248, 236)
PAGE_SHADE = (214, 206, 186)
TEXT = (120, 124, 134)
RIBBON = (204, 32, 38)
RIBBON_SHADE = (150, 18, 24)


def inside(polygon, x, y):
    """Even-odd rule."""
    result = False
    count = len(polygon)
    for i in range(count):
        x1, y1 = polygon[i]
        x2, y2 = polygon[(i + 1) % count]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def lerp(a, b, t):
    return a + (b - a) * t


def page_shapes(left, size):
    """The page polygon of one side and its text lines, as (polygon, colour) pairs in painting order."""
    small = size <= 24
    gap = 0.0 if small else 0.02
    outer, inner = (0.08, 0.5 - gap) if left else (0.92, 0.5 + gap)
    top_outer, top_inner, bottom_outer, bottom_inner = 0.24, 0.17, 0.83, 0.88
    page = [(outer, top_outer), (inner, top_inner), (inner, bottom_inner), (outer, bottom_outer)]
    shapes = [(page, PAGE)]
    # A shaded strip along the spine gives the pages their curve.
    spine_strip = 0.05 if size > 24 else 1.0 / size
    strip_x = inner - spine_strip if left else inner + spine_strip
    shade = [(strip_x, lerp(top_outer, top_inner, 0.9)), (inner, top_inner), (inner, bottom_inner),
             (strip_x, lerp(bottom_outer, bottom_inner, 0.9))]
    if left or not small:
        shapes.append((shade, PAGE_SHADE))
    lines = 3 if size <= 16 else 4 if size <= 24 else 5
    thickness = 1.0 / size if small else max(0.045, 1.1 / size)
    first, last = (0.33, 0.74) if size != 16 else (5 / 16, 11 / 16)
    for i in range(lines):
        t = i / (lines - 1)
        x_from, x_to = (0.15, 0.42) if left else (0.58, 0.85)
        if i == lines - 1:
            x_to = lerp(x_from, x_to, 0.6) if left else x_to
            x_from = x_from if left else lerp(x_from, x_to, 0.4)
        def y_at(x, base):
            # Follow the slant of the page's top edge.
            # Follow the slant of the page's top edge; small images keep the lines on whole pixel rows.
            if small:
                return base
            u = (x - outer) / (inner - outer)
            return base + lerp(top_outer, top_inner, u) - top_outer
        y = lerp(first, last, t)
        if small:
            y = round(y * size) / size
        line = [(x_from, y_at(x_from, y)), (x_to, y_at(x_to, y)), (x_to, y_at(x_to, y) + thickness),
                (x_from, y_at(x_from, y) + thickness)]
        shapes.append((line, TEXT))
    return shapes


def shapes_for(size):
    cover = [(0.03, 0.28), (0.50, 0.21), (0.97, 0.28), (0.97, 0.88), (0.50, 0.95), (0.03, 0.88)]
    cover_edge = [(0.03, 0.84), (0.50, 0.91), (0.97, 0.84), (0.97, 0.88), (0.50, 0.95), (0.03, 0.88)]
    shapes = [(cover, COVER), (cover_edge, COVER_EDGE)]
    shapes += page_shapes(True, size)
    shapes += page_shapes(False, size)
    ribbon = [(0.58, 0.15), (0.68, 0.15), (0.68, 0.98), (0.63, 0.91), (0.58, 0.98)]
    ribbon_shade = [(0.58, 0.15), (0.68, 0.15), (0.68, 0.22), (0.58, 0.23)]
    shapes += [(ribbon, RIBBON), (ribbon_shade, RIBBON_SHADE)]
    return shapes


def render(size):
    """Returns rows of (r, g, b, a) from the top, anti-aliased by supersampling."""
    shapes = shapes_for(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = (px + (sx + 0.5) / SUBSAMPLES) / size
                    y = (py + (sy + 0.5) / SUBSAMPLES) / size
                    colour = None
                    for polygon, fill in shapes:
                        if inside(polygon, x, y):
                            colour = fill
                    if colour:
                        r, g, b, covered = r + colour[0], g + colour[1], b + colour[2], covered + 1
            if covered:
                alpha = round(255 * covered / SUBSAMPLES ** 2)
                row.append((round(r / covered), round(g / covered), round(b / covered), alpha))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, size * size * 4, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    images = [dib(size) for size in SIZES]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tessival.ico")
    with open(path, "wb") as f:
        f.write(out)
    print(path, len(out), "bytes:", ", ".join(f"{s}x{s} {len(i)}" for s, i in zip(SIZES, images)))


if __name__ == "__main__":
    main()
