#!/usr/bin/env python3
"""Draws the program's button bitmaps and its icon. Run it from this folder after changing a
picture; the .bmp and .ico files it writes are committed.

Each picture is described once on a unit square and rendered at every size it is needed in,
with 4x4 supersampling for smooth edges."""

import math
import struct

SUPERSAMPLE = 4

BUTTON_FACE = (212, 208, 200)
SHADOW = (128, 128, 128)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
RED = (200, 32, 32)
NOTE_YELLOW = (255, 255, 0)
PIN_RED = (220, 40, 40)


def inside_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width


def inside_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def framed_button(x, y):
    """A raised button face: light top-left edge, dark bottom-right edge."""
    if x < 0.04 or y < 0.04:
        return WHITE
    if x > 0.96 or y > 0.96:
        return SHADOW
    return BUTTON_FACE


def clock_face(x, y):
    """The expiry-choices button: a clock showing ten past ten."""
    cx = cy = 0.5
    if inside_circle(x, y, cx, cy, 0.40):
        if not inside_circle(x, y, cx, cy, 0.33):
            return BLACK
        for hour in range(12):
            angle = math.radians(hour * 30)
            tx, ty = cx + 0.28 * math.sin(angle), cy - 0.28 * math.cos(angle)
            if hour % 3 == 0 and inside_circle(x, y, tx, ty, 0.035):
                return BLACK
        hour_angle = math.radians(10 * 30 + 5)
        minute_angle = math.radians(2 * 30)
        if near_segment(x, y, cx, cy, cx + 0.17 * math.sin(hour_angle),
                        cy - 0.17 * math.cos(hour_angle), 0.045):
            return BLACK
        if near_segment(x, y, cx, cy, cx + 0.26 * math.sin(minute_angle),
                        cy - 0.26 * math.cos(minute_angle), 0.035):
            return RED
        return WHITE
    return framed_button(x, y)


def calendar_page(x, y):
    """The date button: a small calendar sheet with a red band and a grid of days."""
    left, top, right, bottom = 0.16, 0.16, 0.84, 0.86
    for ring_x in (0.33, 0.67):
        if inside_rect(x, y, ring_x - 0.04, 0.08, ring_x + 0.04, 0.26):
            return BLACK
    if inside_rect(x, y, left, top, right, bottom):
        if x < left + 0.05 or x >= right - 0.05 or y >= bottom - 0.05:
            return BLACK
        if y < top + 0.20:
            return RED
        # Three rows of three days.
        column = (x - left - 0.09) / 0.18
        row = (y - top - 0.25) / 0.15
        if 0 <= column < 3 and 0 <= row < 3 and column % 1 < 0.55 and row % 1 < 0.6:
            return BLACK if (int(row), int(column)) != (1, 1) else RED
        return WHITE
    return framed_button(x, y)


def note_icon(x, y):
    """The program's icon: a yellow note held by a red pin; None is transparent."""
    if inside_circle(x, y, 0.5, 0.18, 0.13):
        return PIN_RED
    if near_segment(x, y, 0.5, 0.18, 0.5, 0.36, 0.03):
        return SHADOW
    left, top, right, bottom = 0.12, 0.2, 0.88, 0.94
    if inside_rect(x, y, left, top, right, bottom):
        # The bottom-right corner is folded up.
        if x + y > right + bottom - 0.2:
            return None if x + y > right + bottom - 0.17 else SHADOW
        if x < left + 0.05 or x >= right - 0.05 or y < top + 0.05 or y >= bottom - 0.05:
            return BLACK
        for line_y in (0.5, 0.62, 0.74):
            if inside_rect(x, y, 0.25, line_y, 0.72, line_y + 0.04):
                return SHADOW
        return NOTE_YELLOW
    return None


def render(picture, size):
    """Rows of (r, g, b, alpha) from top to bottom."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(n):
                for sx in range(n):
                    colour = picture((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(t / covered) for t in total) + (round(255 * covered / (n * n)),))
        rows.append(row)
    return rows


def bmp_bytes(rows):
    """A 24-bit bottom-up .bmp file."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def icon_image(rows):
    """One image of an .ico file: a 32-bit bitmap with alpha, then its AND mask."""
    size = len(rows)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return info + colour + mask


def ico_bytes(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = bytearray(), bytearray()
    for rows in images:
        image = icon_image(rows)
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        data += image
        offset += len(image)
    return directory + entries + data


def main():
    for name, picture in (("clock", clock_face), ("calendar", calendar_page)):
        with open(f"{name}.bmp", "wb") as out:
            out.write(bmp_bytes(render(picture, 16)))
        with open(f"{name}_hires.bmp", "wb") as out:
            out.write(bmp_bytes(render(picture, 32)))
    with open("pinnotes.ico", "wb") as out:
        out.write(ico_bytes([render(note_icon, 16), render(note_icon, 32)]))


if __name__ == "__main__":
    main()
