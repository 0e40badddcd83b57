#!/usr/bin/env python3
"""Draws the example textures of examples/: a checkerboard and a labelled
grid, written as PNG with nothing but the standard library. Run from the
repository root: python3 scripts/make_example_textures.py

The grid's cells are numbered 1..16 in reading order (top left to bottom
right) and its top edge is red, so a texture drawn upside down or mirrored
is plain to see."""
import os
import struct
import zlib

# Digits of a 3 x 5 pixel font, top row first; '#' is ink.
DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"], "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"], "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"], "5": ["###", "#..", "###", "..#", "###"],
    "6": ["###", "#..", "###", "#.#", "###"], "7": ["###", "..#", ".#.", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"], "9": ["###", "#.#", "###", "..#", "###"],
}


def write_png(path, width, height, rows):
    """rows: top row first, each a list of (r, g, b)."""
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def checkerboard(size=64, squares=8):
    light, dark = (235, 230, 210), (60, 70, 90)
    cell = size // squares
    return [[light if (x // cell + y // cell) % 2 == 0 else dark for x in range(size)] for y in range(size)]


def labelled_grid(size=128, cells=4, scale=3):
    cell = size // cells
    rows = [[(250, 250, 250)] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if x % cell in (0, cell - 1) or y % cell in (0, cell - 1):
                rows[y][x] = (40, 40, 40)
    for y in range(4):  # the top edge is red
        rows[y] = [(220, 30, 30)] * size
    for index in range(cells * cells):
        label = str(index + 1)
        top, left = (index // cells) * cell, (index % cells) * cell
        width = (4 * len(label) - 1) * scale
        x0, y0 = left + (cell - width) // 2, top + (cell - 5 * scale) // 2
        for n, digit in enumerate(label):
            for gy, line in enumerate(DIGITS[digit]):
                for gx, ink in enumerate(line):
                    if ink != "#":
                        continue
                    for dy in range(scale):
                        for dx in range(scale):
                            rows[y0 + gy * scale + dy][x0 + (4 * n + gx) * scale + dx] = (20, 60, 160)
    return rows


if __name__ == "__main__":
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")
    write_png(os.path.join(folder, "checkerboard.png"), 64, 64, checkerboard())
    write_png(os.path.join(folder, "grid.png"), 128, 128, labelled_grid())
