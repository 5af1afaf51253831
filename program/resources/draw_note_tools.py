#!/usr/bin/env python3
"""Draws the note window's toolbar strips: eleven small-icon squares side by side, 16 pixels
high in note_tools.bmp and 32 in note_tools_hires.bmp, magenta where the bar shows through.
Run it from this folder after changing a picture; the .bmp files it writes are committed."""

import math

import draw_images
from draw_images import BLACK, RED, WHITE, SHADOW, NOTE_YELLOW
from draw_images import inside_circle, inside_rect, near_segment

MAGENTA = (255, 0, 255)
BLUE = (40, 70, 200)
DARK_GREY = (64, 64, 64)
WOOD = (230, 180, 90)
PINK = (240, 150, 160)


def page(x, y):
    """A sheet with a folded corner: a new note."""
    if inside_rect(x, y, 0.2, 0.1, 0.8, 0.9):
        if x + (0.9 - y) < 0.0 or x - 0.6 > y - 0.1:
            return SHADOW if x - 0.6 <= y - 0.1 + 0.06 else None
        if x < 0.26 or x >= 0.74 or y >= 0.84 or y < 0.16:
            return BLACK
        return NOTE_YELLOW
    return None


def disk(x, y):
    """A floppy disk: keep."""
    if inside_rect(x, y, 0.15, 0.15, 0.85, 0.85):
        if inside_rect(x, y, 0.3, 0.15, 0.7, 0.4):
            return WHITE if x < 0.6 else SHADOW
        if inside_rect(x, y, 0.25, 0.55, 0.75, 0.85):
            return WHITE
        return BLUE
    return None


def bin_can(x, y):
    """A waste bin: delete."""
    if inside_rect(x, y, 0.2, 0.18, 0.8, 0.28) or inside_rect(x, y, 0.4, 0.1, 0.6, 0.18):
        return DARK_GREY
    if inside_rect(x, y, 0.26, 0.3, 0.74, 0.9):
        for stripe in (0.38, 0.5, 0.62):
            if abs(x - stripe) < 0.03:
                return BLACK
        return SHADOW
    return None


def magnifier(sign):
    def draw(x, y):
        if near_segment(x, y, 0.62, 0.62, 0.88, 0.88, 0.08):
            return DARK_GREY
        if inside_circle(x, y, 0.42, 0.42, 0.32):
            if not inside_circle(x, y, 0.42, 0.42, 0.25):
                return BLACK
            if abs(y - 0.42) < 0.05 and abs(x - 0.42) < 0.16:
                return BLACK
            if sign > 0 and abs(x - 0.42) < 0.05 and abs(y - 0.42) < 0.16:
                return BLACK
            return WHITE
        return None
    return draw


def cassette(x, y):
    """A tape cassette: record."""
    if inside_rect(x, y, 0.08, 0.22, 0.92, 0.8):
        if x < 0.12 or x >= 0.88 or y < 0.26 or y >= 0.76:
            return BLACK
        for cx in (0.34, 0.66):
            if inside_circle(x, y, cx, 0.47, 0.1):
                return BLACK if not inside_circle(x, y, cx, 0.47, 0.05) else WHITE
        if inside_rect(x, y, 0.28, 0.62, 0.72, 0.76):
            return SHADOW
        return RED
    return None


def undo_arrow(x, y):
    """A curved arrow turning back to the left."""
    r = math.hypot(x - 0.55, y - 0.58)
    angle = math.atan2(y - 0.58, x - 0.55)
    if 0.2 <= r <= 0.32 and angle <= 0.6 and angle >= -math.pi:
        return BLUE
    # The head at the arc's left end, pointing down.
    if y >= 0.5 and y <= 0.8 and abs(x - 0.29) <= (0.8 - y) * 0.7:
        return BLUE
    return None


def eraser(x, y):
    u, v = (x - y) / math.sqrt(2), (x + y) / math.sqrt(2)
    if abs(u) < 0.2 and abs(v - 0.7) < 0.4:
        return PINK if v > 0.62 else WHITE
    return None


def pencil(x, y):
    """A pencil lying from the top right to the bottom left."""
    u, v = (x + y) / math.sqrt(2), (x - y) / math.sqrt(2)
    if abs(v) > 0.12 or u < 0.18 or u > 1.26:
        return None
    if u < 0.38:
        return BLACK if u < 0.28 and abs(v) < (u - 0.18) * 0.6 + 0.02 else (
            WOOD if abs(v) <= (u - 0.18) * 0.6 + 0.01 else None)
    if u > 1.12:
        return PINK
    if u > 1.05:
        return SHADOW
    return NOTE_YELLOW if abs(v) < 0.09 else BLACK


def keyboard(x, y):
    if inside_rect(x, y, 0.06, 0.3, 0.94, 0.74):
        if x < 0.1 or x >= 0.9 or y < 0.34 or y >= 0.7:
            return BLACK
        col, row = (x - 0.12) / 0.1, (y - 0.37) / 0.11
        if 0 <= row < 3 and col % 1 < 0.7 and row % 1 < 0.7 and 0 <= col < 8:
            return DARK_GREY
        return WHITE
    return None


def grid(x, y):
    if inside_rect(x, y, 0.12, 0.12, 0.88, 0.88):
        for line in (0.12, 0.31, 0.5, 0.69, 0.845):
            if abs(x - line - 0.02) < 0.03 or abs(y - line - 0.02) < 0.03:
                return BLACK
        return WHITE
    return None


# Image index order: the toolbar names its buttons by these positions.
PICTURES = [page, disk, bin_can, magnifier(-1), magnifier(1), cassette, undo_arrow, eraser, pencil,
            keyboard, grid]


def strip(size):
    """Rows of one strip, each picture made opaque where at least half of it is covered."""
    images = [draw_images.render(picture, size) for picture in PICTURES]
    rows = []
    for y in range(size):
        row = []
        for image in images:
            for r, g, b, a in image[y]:
                row.append((r, g, b, 255) if a >= 128 else MAGENTA + (255,))
        rows.append(row)
    return rows


def main():
    for name, size in (("note_tools", 16), ("note_tools_hires", 32)):
        with open(f"{name}.bmp", "wb") as out:
            out.write(draw_images.bmp_bytes(strip(size)))


if __name__ == "__main__":
    main()
