#!/usr/bin/env python3
"""Draws the state pictures of the all-notes list: one strip of three square images (a clock
with a red quarter for a pending note, a red disc for an expired one, a white disc for one that
never expires) on magenta, the colour the list takes as transparent. The small strip has 16
colours and 16-pixel images, the large one 256 colours and 32-pixel images. Run it from this
folder; the .bmp files it writes are committed."""

import math
import struct

import draw_images

MAGENTA = (255, 0, 255)
RED = (255, 0, 0)
DARK_GREY = (64, 64, 64)

# The 16-colour palette: the usual VGA colours, which hold magenta, red, white and black.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def disc(fill):
    """A disc with a thin dark rim, so that it shows on the yellow list."""
    def picture(x, y):
        if not draw_images.inside_circle(x, y, 0.5, 0.5, 0.44):
            return None
        if not draw_images.inside_circle(x, y, 0.5, 0.5, 0.38):
            return DARK_GREY
        return fill
    return picture


def pending_clock(x, y):
    """A white clock face whose quarter from twelve to three is red, hands on both edges."""
    cx = cy = 0.5
    if not draw_images.inside_circle(x, y, cx, cy, 0.44):
        return None
    if not draw_images.inside_circle(x, y, cx, cy, 0.38):
        return draw_images.BLACK
    if draw_images.near_segment(x, y, cx, cy, cx, cy - 0.34, 0.035):
        return draw_images.BLACK
    if draw_images.near_segment(x, y, cx, cy, cx + 0.26, cy, 0.035):
        return draw_images.BLACK
    angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
    return RED if angle < 90 else draw_images.WHITE


PICTURES = (pending_clock, disc(RED), disc(draw_images.WHITE))


def strip(size):
    """Rows of (r, g, b) for the three images side by side; uncovered pixels are magenta and a
    pixel less than half covered counts as uncovered, so that no pink fringe shows."""
    images = [draw_images.render(picture, size) for picture in PICTURES]
    rows = []
    for y in range(size):
        row = []
        for image in images:
            for r, g, b, alpha in image[y]:
                row.append(MAGENTA if alpha < 128 else (r, g, b))
        rows.append(row)
    return rows


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def palette_of(rows, limit):
    """The distinct colours of the rows, coarser steps until they fit in `limit` entries;
    magenta always stays exact."""
    step = 1
    while True:
        colours = {MAGENTA}
        for row in rows:
            for colour in row:
                if colour != MAGENTA:
                    colours.add(tuple(min(255, round(c / step) * step) for c in colour))
        if len(colours) <= limit:
            return sorted(colours)
        step *= 2


def indexed_bmp(rows, bits, palette):
    """A bottom-up .bmp file of `bits` (4 or 8) per pixel with the given palette."""
    height, width = len(rows), len(rows[0])
    per_byte = 8 // bits
    stride = ((width * bits + 31) // 32) * 4
    lookup = {}
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, colour in enumerate(row):
            if colour not in lookup:
                lookup[colour] = nearest(colour, palette)
            shift = (per_byte - 1 - x % per_byte) * bits
            line[x // per_byte] |= lookup[colour] << shift
        pixels += line
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    table += bytes(4 * ((1 << bits) - len(palette)))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       1 << bits, 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + pixels


def main():
    with open("note_states.bmp", "wb") as out:
        out.write(indexed_bmp(strip(16), 4, VGA_PALETTE))
    large = strip(32)
    with open("note_states_hires.bmp", "wb") as out:
        out.write(indexed_bmp(large, 8, palette_of(large, 256)))


if __name__ == "__main__":
    main()
