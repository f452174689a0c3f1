#!/usr/bin/env python3
"""Writes the pictures of the image test page (tests/layout/pages/images/): a PNG, a
transparent and an animated GIF, a JPEG (through cjpeg from the JPEG library's tools), a
24-bit BMP and a background tile. Generated here; nothing is downloaded.

    scripts/imaging/make_page_images.py [OUT_DIR]
"""
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
from make_sample_images import gif, png  # noqa: E402


def bmp24(width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = b""
    for y in range(height - 1, -1, -1):
        row = b"".join(struct.pack("BBB", *reversed(pixel(x, y))) for x in range(width))
        rows += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + header + rows


def ppm(width, height, pixel):
    body = b"".join(struct.pack("BBB", *pixel(x, y)) for y in range(height) for x in range(width))
    return b"P6\n%d %d\n255\n" % (width, height) + body


def landscape(x, y):
    if (x - 150) ** 2 + (y - 25) ** 2 < 150:
        return (255, 210, 40)
    if y > 60 + 15 * ((x // 20) % 2):
        return (40, 140 + y, 60)
    return (90 + y, 150 + y // 2, 240)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "tests", "layout", "pages", "images")
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    write("landscape.png", png(200, 100, 8, 2, landscape))
    write("tile.png", png(16, 16, 8, 2, lambda x, y: (235, 245, 255) if (x // 8 + y // 8) % 2 else (225, 238, 252)))
    write("stripes.bmp", bmp24(60, 40, lambda x, y: (200, 40, 40) if (x // 6) % 2 else (250, 250, 250)))
    palette = [(255, 255, 255), (200, 0, 0), (0, 120, 0), (0, 0, 200), (250, 200, 0)]
    star = [1 if abs(x - 12) + abs(y - 12) < 10 else 0 for y in range(24) for x in range(24)]
    write("diamond.gif", gif(24, 24, palette, [dict(left=0, top=0, w=24, h=24, pixels=star, transparent=0)]))
    frames = []
    for i, colour in enumerate((1, 2, 3)):
        pixels = [colour if (x // 8) == i else 4 for y in range(24) for x in range(24)]
        frames.append(dict(left=0, top=0, w=24, h=24, pixels=pixels, delay=30))
    write("traffic.gif", gif(24, 24, palette, frames, loops=0))
    raw = os.path.join(out, "photo.ppm")
    with open(raw, "wb") as f:
        f.write(ppm(120, 80, lambda x, y: (min(255, 2 * x), min(255, 3 * y), 160)))
    subprocess.run(["cjpeg", "-quality", "85", "-outfile", os.path.join(out, "photo.jpg"), raw], check=True)
    os.remove(raw)


if __name__ == "__main__":
    main()
