#!/usr/bin/env python3
"""Draws the Quil mark and writes the program art: quil.ico, banner.bmp and banner-2x.bmp.

The mark is a "Q" whose ring is a deep blue circle and whose tail is a golden quill feather laid
across its lower right. Everything is drawn from geometry here (Python's standard library only),
so the files can be made again with

    python3 resources/make_art.py

quil.ico holds three images: 32x32 and 16x16 in 16 colours (4 bits per pixel, the standard VGA
palette) and 32x32 in 256 colours (8 bits per pixel). banner.bmp is the dialog's banner picture,
116 by 45 pixels in 24 bits per pixel: the mark and the word "Quil" on a white ground with a
colour band along its foot; banner-2x.bmp is the same picture drawn at twice the size (232 by 90),
for screens of twice the pixel density and more. The output is the same byte for byte on every run.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour VGA palette, as (red, green, blue).
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette256():
    """A 6x6x6 colour cube, the 16 VGA colours and a ramp of 24 greys: 256 entries."""
    levels = [0, 51, 102, 153, 204, 255]
    cube = [(r, g, b) for r in levels for g in levels for b in levels]
    greys = [(v, v, v) for v in (8 + 10 * i for i in range(24))]
    return cube + VGA16 + greys


def nearest(palette, colour):
    r, g, b = colour
    return min(range(len(palette)),
               key=lambda i: (palette[i][0] - r) ** 2 * 3 + (palette[i][1] - g) ** 2 * 4
               + (palette[i][2] - b) ** 2 * 2)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


# --- The mark, in a unit square (x to the right, y downwards) -----------------------------------

RING_CENTRE = (0.44, 0.44)
RING_OUTER = 0.40
RING_INNER = 0.25
FEATHER_FROM = (0.40, 0.40)  # the quill's tip, inside the ring
FEATHER_TO = (0.97, 0.97)    # the end of its vane
FEATHER_WIDTH = 0.13

BLUE_DARK = (16, 40, 120)
BLUE_LIGHT = (70, 130, 230)
GOLD_DARK = (190, 110, 10)
GOLD_LIGHT = (255, 220, 90)
SHAFT = (90, 40, 10)
# The same parts in colours of the 16-colour palette, for the flat images.
FLAT_BLUE_DARK = (0, 0, 128)
FLAT_BLUE_LIGHT = (0, 0, 255)
FLAT_GOLD_DARK = (128, 128, 0)
FLAT_GOLD_LIGHT = (255, 255, 0)
FLAT_SHAFT = (128, 0, 0)


def mark_colour(x, y, shaded):
    """The mark's colour at (x, y), or None where the mark is transparent."""
    # The feather: a pointed leaf along the diagonal, narrowing towards both ends.
    fx, fy = FEATHER_FROM
    tx, ty = FEATHER_TO
    length = math.hypot(tx - fx, ty - fy)
    ux, uy = (tx - fx) / length, (ty - fy) / length
    along = ((x - fx) * ux + (y - fy) * uy) / length
    across = (x - fx) * -uy + (y - fy) * ux
    if 0.0 <= along <= 1.0:
        half = FEATHER_WIDTH * math.sin(math.pi * along ** 0.8)
        if abs(across) <= half:
            if abs(across) <= 0.018 and along > 0.12:
                return SHAFT if shaded else FLAT_SHAFT
            # Barbs: slanted stripes across the vane.
            barb = (along * 9 + abs(across) * 14) % 1.0
            if shaded:
                base = mix(GOLD_LIGHT, GOLD_DARK, along * 0.7 + (0.25 if barb < 0.3 else 0))
                return base
            return FLAT_GOLD_DARK if barb < 0.3 else FLAT_GOLD_LIGHT
    # The ring.
    cx, cy = RING_CENTRE
    r = math.hypot(x - cx, y - cy)
    if RING_INNER <= r <= RING_OUTER:
        if not shaded:
            return FLAT_BLUE_DARK if (x - cx) + (y - cy) > 0.12 else FLAT_BLUE_LIGHT
        light = ((cx - x) + (cy - y)) / (2 * RING_OUTER) + 0.5
        return mix(BLUE_DARK, BLUE_LIGHT, light)
    return None


def render_mark(size, shaded, samples=4):
    """Rows of (colour or None) for a size x size picture of the mark, supersampled."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    c = mark_colour(x, y, shaded)
                    if c is not None:
                        hits.append(c)
            if len(hits) * 2 < samples * samples:
                row.append(None)
            elif shaded:
                row.append(tuple(round(sum(c[i] for c in hits) / len(hits)) for i in range(3)))
            else:
                # Flat art: the colour most samples saw, so edges stay crisp.
                row.append(max(set(hits), key=lambda c: (hits.count(c), c)))
        rows.append(row)
    return rows


# --- Icon file -----------------------------------------------------------------------------------

def pack_rows(rows, bits):
    """Bottom-up rows of `bits`-per-pixel indices, each padded to four bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 8:
            line.extend(row)
        elif bits == 4:
            for i in range(0, len(row), 2):
                hi = row[i]
                lo = row[i + 1] if i + 1 < len(row) else 0
                line.append((hi << 4) | lo)
        elif bits == 1:
            for i in range(0, len(row), 8):
                byte = 0
                for j in range(8):
                    if i + j < len(row) and row[i + j]:
                        byte |= 0x80 >> j
                line.append(byte)
        while len(line) % 4:
            line.append(0)
        out.extend(line)
    return bytes(out)


def icon_image(size, bits):
    palette = VGA16 if bits == 4 else palette256()
    picture = render_mark(size, shaded=(bits == 8))
    indices = [[0 if c is None else nearest(palette, c) for c in row] for row in picture]
    mask = [[1 if c is None else 0 for c in row] for row in picture]
    xor = pack_rows(indices, bits)
    andmask = pack_rows(mask, 1)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, len(xor) + len(andmask),
                         0, 0, 0, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    return header + colours + xor + andmask


def write_icon(path, images):
    """images: (size, bits) pairs, in the order the icon directory lists them."""
    data = [icon_image(size, bits) for size, bits in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, data):
        colours = 16 if bits == 4 else 0
        out += struct.pack('<BBBBHHII', size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    for blob in data:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


# --- Banner --------------------------------------------------------------------------------------

# A 5 by 7 pixel font for the word on the banner.
GLYPHS = {
    'Q': ['.###.', '#...#', '#...#', '#...#', '#.#.#', '#..#.', '.##.#'],
    'u': ['.....', '.....', '#...#', '#...#', '#...#', '#..##', '.##.#'],
    'i': ['..#..', '.....', '.##..', '..#..', '..#..', '..#..', '.###.'],
    'l': ['.##..', '..#..', '..#..', '..#..', '..#..', '..#..', '.###.'],
}

BANNER_W, BANNER_H = 116, 45
WHITE = (255, 255, 255)


def banner_pixels(scale):
    """The banner drawn `scale` times the size of the 96 DPI picture, every measure multiplied."""
    width, height = BANNER_W * scale, BANNER_H * scale
    pixels = [[WHITE] * width for _ in range(height)]
    # The mark, 36 pixels square, at the left.
    mark = render_mark(36 * scale, shaded=True)
    for y, row in enumerate(mark):
        for x, c in enumerate(row):
            if c is not None:
                pixels[2 * scale + y][3 * scale + x] = c
    # "Quil" in the font, three pixels to a dot, blue shading to a lighter blue downwards.
    dot, left, top = 3 * scale, 46 * scale, 6 * scale
    for ch in 'Quil':
        glyph = GLYPHS[ch]
        used = [gx for line in glyph for gx, dot_here in enumerate(line) if dot_here == '#']
        first, last = min(used), max(used)
        for gy, line in enumerate(glyph):
            colour = mix(BLUE_DARK, BLUE_LIGHT, gy / 7)
            for gx in range(first, last + 1):
                if line[gx] != '#':
                    continue
                for dy in range(dot):
                    for dx in range(dot):
                        x = left + (gx - first) * dot + dx
                        y = top + gy * dot + dy
                        if 0 <= x < width and 0 <= y < height:
                            pixels[y][x] = colour
        left += (last - first + 1) * dot + dot
    # A band along the foot, blue turning to gold from left to right.
    for y in range(40 * scale, height):
        for x in range(width):
            pixels[y][x] = mix(BLUE_DARK, GOLD_LIGHT, x / (width - 1))
    return pixels


def write_banner(path, scale):
    pixels = banner_pixels(scale)
    width, height = len(pixels[0]), len(pixels)
    rows = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        while len(line) % 4:
            line.append(0)
        rows += line
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(rows), 0, 0,
                              14 + len(header))
    with open(path, 'wb') as f:
        f.write(file_header + header + rows)


if __name__ == '__main__':
    write_icon(os.path.join(HERE, 'quil.ico'), [(32, 4), (16, 4), (32, 8)])
    write_banner(os.path.join(HERE, 'banner.bmp'), 1)
    write_banner(os.path.join(HERE, 'banner-2x.bmp'), 2)
