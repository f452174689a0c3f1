#!/usr/bin/env python3
"""Draws the program's icon as PNG files of the hicolor sizes, the same picture as
tessival.svg (a blue rounded square with a cream T), with 4 x 4 supersampling.

usage: make_icons.py OUTPUT_DIR   writes OUTPUT_DIR/<N>x<N>/apps/tessival.png
"""
import os
import struct
import sys
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
BLUE = (0x00, 0x46, 0x8C)
CREAM = (0xFF, 0xFE, 0xE6)


def colour_at(x, y):
    """The picture on its 48-unit canvas: None outside the rounded square."""
    r = 8.0
    cx = min(max(x, r), 48 - r)
    cy = min(max(y, r), 48 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return None
    if (10 <= y < 17 and 11 <= x < 37) or (17 <= y < 39 and 20 <= x < 28):
        return CREAM
    return BLUE


def pixels(size):
    rows = []
    n = 4
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = colour_at((px + (sx + 0.5) / n) * 48 / size, (py + (sy + 0.5) / n) * 48 / size)
                    if c is not None:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 255
            covered = acc[3] // 255
            if covered:
                row += bytes((acc[0] // covered, acc[1] // covered, acc[2] // covered, acc[3] // (n * n)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels(size), 9)) + chunk(b"IEND", b"")


def main():
    out = sys.argv[1]
    for size in SIZES:
        path = os.path.join(out, "%dx%d" % (size, size), "apps")
        os.makedirs(path, exist_ok=True)
        with open(os.path.join(path, "tessival.png"), "wb") as f:
            f.write(png(size))


if __name__ == "__main__":
    main()
