#!/usr/bin/env python3
"""Draws the program icon: a 48x48, 16-colour picture of two arrows that swap places."""
import struct
import sys

SIZE = 48
# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, YELLOW, WHITE = 0, 4, 8, 11, 15


def draw():
    pixels = [[None] * SIZE for _ in range(SIZE)]  # None: transparent
    # A rounded tile with a dark frame.
    for y in range(2, 46):
        for x in range(2, 46):
            corner = min(x - 2, 45 - x) + min(y - 2, 45 - y)
            if corner < 3:
                continue
            edge = min(x - 2, 45 - x, y - 2, 45 - y)
            pixels[y][x] = BLACK if edge == 0 or corner == 3 else DARK_BLUE
    # Upper arrow points right (yellow), lower arrow points left (white).
    arrow(pixels, 16, YELLOW, right=True)
    arrow(pixels, 31, WHITE, right=False)
    return pixels


def arrow(pixels, centre, colour, right):
    for y in range(centre - 2, centre + 3):
        for x in range(10, 30):
            put(pixels, x if right else SIZE - 1 - x, y, colour)
    for i in range(9):
        for y in range(centre - 8 + i, centre + 9 - i):
            x = 29 + i
            put(pixels, x if right else SIZE - 1 - x, y, colour)


def put(pixels, x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        pixels[y][x] = colour


def encode(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_rows = b""
    mask_rows = b""
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = pixels[y]
        nibbles = [c if c is not None else 0 for c in row]
        colour_rows += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is None else 0)
        mask_rows += bits.to_bytes(SIZE // 8, "big") + b"\0\0"  # rows padded to 32 bits
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "res/tauschwerk.ico"
    with open(out, "wb") as f:
        f.write(encode(draw()))
