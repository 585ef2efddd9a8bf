#!/usr/bin/env python3
"""Draws the two pane icons and writes them as .ico files.

eyes_on.ico (resource 110): a pair of eyes, two tall white ovals outlined in
black, each with a round black pupil, on a transparent background.
eyes_off.ico (resource 112): the same drawing in greys, the switched-off look.

Each file holds one 32x32 image with 16 colours (4 bits per pixel, the standard
16-colour palette) and a transparency mask. Run it after changing the artwork:
    python3 resources/make_icons.py
"""
import os
import struct

SIZE = 32
PALETTE = [  # the standard 16-colour palette, (r, g, b)
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_GREY, LIGHT_GREY, WHITE = 0, 8, 7, 15
TRANSPARENT = None

# Two eyes: centre x, centre y, half width, half height; pupils lower and inward.
EYES = [(9.0, 16.0, 6.0, 12.5), (23.0, 16.0, 6.0, 12.5)]
PUPIL_RADIUS = 2.7
OUTLINE = 1.6


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def draw(fill, line):
    """Rows of palette indices (or TRANSPARENT), top row first."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            x, y = px + 0.5, py + 0.5
            colour = TRANSPARENT
            for i, (cx, cy, rx, ry) in enumerate(EYES):
                if inside_ellipse(x, y, cx, cy, rx, ry):
                    inner = inside_ellipse(x, y, cx, cy, rx - OUTLINE, ry - OUTLINE)
                    colour = fill if inner else line
                    pupil_x = cx + (1.0 if i == 0 else -1.0)
                    pupil_y = cy + 2.5
                    if (x - pupil_x) ** 2 + (y - pupil_y) ** 2 <= PUPIL_RADIUS ** 2:
                        colour = line
            row.append(colour)
        rows.append(row)
    return rows


def ico_bytes(rows):
    # The bitmap is stored bottom row first; colour rows of 32 pixels at 4 bits
    # are 16 bytes, mask rows of 32 bits are 4 bytes (both already 4-aligned).
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for px in range(0, SIZE, 2):
            hi, lo = (c if c is not None else 0 for c in row[px:px + 2])
            xor.append(hi << 4 | lo)
        bits = 0
        for px, c in enumerate(row):
            if c is None:
                bits |= 1 << (31 - px)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, fill, line in (("eyes_on.ico", WHITE, BLACK), ("eyes_off.ico", LIGHT_GREY, DARK_GREY)):
        with open(os.path.join(here, name), "wb") as f:
            f.write(ico_bytes(draw(fill, line)))


if __name__ == "__main__":
    main()
