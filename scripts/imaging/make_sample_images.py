#!/usr/bin/env python3
"""Writes the small PNG and GIF files kept as fuzz seeds and used by the decode tool's
tests. Everything is generated here with zlib and struct; nothing is downloaded.

    scripts/imaging/make_sample_images.py [OUT_DIR]   (default: fuzz/corpus)
"""
import os
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_row(samples, depth):
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc, bits = (acc << depth) | s, bits + depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def filter_row(kind, row, prev, bpp):
    out = bytearray([kind])
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i] if prev else 0
        c = prev[i - bpp] if prev and i >= bpp else 0
        pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((x - pred) & 0xFF)
    return bytes(out)


ADAM7 = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]


def png(width, height, depth, color_type, pixel, interlaced=False, extra_before=b"", extra_after=b""):
    """pixel(x, y) returns the tuple of samples of one pixel."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[color_type]
    bpp = max(1, depth * channels // 8)
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    raw, n = bytearray(), 0
    for r0, c0, dr, dc in passes:
        xs = list(range(c0, width, dc))
        if not xs:
            continue
        prev = None
        for y in range(r0, height, dr):
            row = pack_row([s for x in xs for s in pixel(x, y)], depth)
            raw += filter_row(n % 5, row, prev, bpp)
            prev, n = row, n + 1
    ihdr = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 1 if interlaced else 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra_before +
            chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + extra_after + chunk(b"IEND", b""))


def lzw(pixels, min_code):
    """GIF LZW with the decoder's code-size rules mirrored."""
    clear, out = 1 << min_code, bytearray()
    state = {"acc": 0, "bits": 0, "size": min_code + 1, "next": clear + 2, "first": True}

    def emit(code):
        state["acc"] |= code << state["bits"]
        state["bits"] += state["size"]
        while state["bits"] >= 8:
            out.append(state["acc"] & 0xFF)
            state["acc"] >>= 8
            state["bits"] -= 8
        if code == clear:
            state.update(size=min_code + 1, next=clear + 2, first=True)
        elif state["first"]:
            state["first"] = False
        elif state["next"] < 4096:
            state["next"] += 1
            if state["next"] >= (1 << state["size"]) and state["size"] < 12:
                state["size"] += 1

    emit(clear)
    table, entry, w = {}, clear + 2, None
    for c in pixels:
        if w is None:
            w = c
            continue
        if (w, c) in table:
            w = table[(w, c)]
            continue
        emit(w)
        if entry < 4096:
            table[(w, c)] = entry
            entry += 1
        else:
            emit(clear)
            table, entry = {}, clear + 2
        w = c
    if w is not None:
        emit(w)
    emit(clear + 1)
    if state["bits"]:
        out.append(state["acc"] & 0xFF)
    return bytes(out)


def sub_blocks(data):
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255)) + b"\0"


def gif(width, height, palette, frames, loops=None):
    """frames: dicts with left, top, w, h, pixels, and optional delay, disposal,
    transparent, interlaced, local (palette)."""
    bits = max(1, (len(palette) - 1).bit_length())
    out = bytearray(b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | (bits - 1), 0, 0))
    out += b"".join(struct.pack("BBB", *c) for c in palette + [(0, 0, 0)] * ((1 << bits) - len(palette)))
    if loops is not None:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", loops) + b"\0"
    for f in frames:
        t = f.get("transparent")
        out += b"\x21\xf9\x04" + struct.pack("<BHB", (f.get("disposal", 0) << 2) | (t is not None),
                                             f.get("delay", 0), t or 0) + b"\0"
        local = f.get("local")
        fbits = max(1, (len(local) - 1).bit_length()) if local else bits
        flags = (0x80 | (fbits - 1) if local else 0) | (0x40 if f.get("interlaced") else 0)
        out += b"\x2c" + struct.pack("<HHHHB", f["left"], f["top"], f["w"], f["h"], flags)
        if local:
            out += b"".join(struct.pack("BBB", *c) for c in local + [(0, 0, 0)] * ((1 << fbits) - len(local)))
        rows = [f["pixels"][y * f["w"]:(y + 1) * f["w"]] for y in range(f["h"])]
        if f.get("interlaced"):
            order = [y for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)) for y in range(start, f["h"], step)]
            rows = [rows[y] for y in order]
        min_code = max(2, fbits)
        out += bytes([min_code]) + sub_blocks(lzw([p for r in rows for p in r], min_code))
    return bytes(out + b"\x3b")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "fuzz", "corpus")
    os.makedirs(os.path.join(out, "png"), exist_ok=True)
    os.makedirs(os.path.join(out, "gif"), exist_ok=True)
    os.makedirs(os.path.join(out, "gif_animation"), exist_ok=True)
    pngs = {
        "rgb8.png": png(7, 5, 8, 2, lambda x, y: (x * 30, y * 50, 255 - x * 9)),
        "rgba16_interlaced.png": png(9, 9, 16, 6, lambda x, y: (x * 7000, y * 7000, 9000, 65535 - x), True),
        "palette2_trns.png": png(6, 4, 2, 3, lambda x, y: ((x + y) % 4,),
                                 extra_before=chunk(b"PLTE", bytes([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255])) +
                                 chunk(b"tRNS", b"\0")),
        "grey1.png": png(11, 3, 1, 0, lambda x, y: ((x ^ y) & 1,)),
        "grey16.png": png(5, 4, 16, 0, lambda x, y: (x * 9000 + y,)),
        "grey_alpha8_interlaced.png": png(3, 7, 8, 4, lambda x, y: (x * 80, y * 30), True),
        "gamma_rgb_trns.png": png(4, 4, 8, 2, lambda x, y: (x * 60, 0, y * 60),
                                  extra_before=chunk(b"gAMA", struct.pack(">I", 45455)) +
                                  chunk(b"tRNS", struct.pack(">HHH", 0, 0, 0)) + chunk(b"tEXt", b"k\0v")),
        "palette4_interlaced.png": png(10, 10, 4, 3, lambda x, y: ((x * y) % 16,), True,
                                       extra_before=chunk(b"PLTE", bytes(range(48)))),
    }
    pal = [(0, 0, 0), (255, 0, 0), (0, 0, 255), (0, 255, 0)]
    gifs = {
        "one_pixel.gif": gif(1, 1, [(255, 0, 0), (0, 0, 255)], [dict(left=0, top=0, w=1, h=1, pixels=[0])]),
        "interlaced.gif": gif(5, 11, pal, [dict(left=0, top=0, w=5, h=11, interlaced=True,
                                               pixels=[(x + y) % 4 for y in range(11) for x in range(5)])]),
    }
    animation = gif(6, 4, pal, [
        dict(left=0, top=0, w=6, h=4, pixels=[1] * 24, delay=5),
        dict(left=1, top=1, w=3, h=2, pixels=[2, 0, 2, 0, 2, 0], transparent=0, disposal=2, delay=0),
        dict(left=4, top=0, w=2, h=2, pixels=[3, 1, 1, 3], local=[(9, 9, 9), (0, 255, 0)], disposal=1, delay=10,
             interlaced=True),
    ], loops=2)
    gifs["animation.gif"] = animation
    for name, data in pngs.items():
        open(os.path.join(out, "png", name), "wb").write(data)
    for name, data in gifs.items():
        open(os.path.join(out, "gif", name), "wb").write(data)
    open(os.path.join(out, "gif_animation", "animation.gif"), "wb").write(animation)
    open(os.path.join(out, "gif_animation", "one_pixel.gif"), "wb").write(gifs["one_pixel.gif"])


if __name__ == "__main__":
    main()
