#!/usr/bin/env python3
"""Draws the window's three images and writes them as GIF files.

pf.gif       the row icon: a small page with a folded corner
bluedot.gif  the handle of a closed tree node: a filled blue dot
bluedot2.gif the handle of an open node: a blue ring

Run from this folder: python3 make_images.py
"""
import struct

# Palette index 0 is transparent.
PALETTE = [
    (255, 255, 255),  # 0 transparent
    (0, 0, 160),      # 1 dark blue outline
    (255, 255, 255),  # 2 white
    (120, 110, 220),  # 3 lavender fold
    (0, 0, 255),      # 4 blue
    (150, 150, 255),  # 5 light blue
    (200, 200, 240),  # 6 page lines
    (0, 0, 0),        # 7
]


def lzw_literal(pixels, min_code=3):
    """LZW stream that only ever emits literals, with a clear code often enough
    that the code width never grows: valid GIF, trivially simple."""
    clear, eoi = 1 << min_code, (1 << min_code) + 1
    width = min_code + 1
    codes = []
    run = 0
    codes.append(clear)
    for p in pixels:
        if run == (1 << width) - (1 << min_code) - 3:
            codes.append(clear)
            run = 0
        codes.append(p)
        run += 1
    codes.append(eoi)
    out, acc, nbits = bytearray(), 0, 0
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray([min_code])
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def gif(rows):
    h, w = len(rows), len(rows[0])
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", w, h, 0xF2, 0, 0)  # global table of 8 colours
    for r, g, b in PALETTE:
        data += bytes([r, g, b])
    data += bytes([0x21, 0xF9, 4, 0x01, 0, 0, 0, 0])  # transparent index 0
    data += b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0)
    data += lzw_literal([int(c) for row in rows for c in row])
    data += b"\x3b"
    return bytes(data)


PAGE = [
    "0111111110000",
    "0122222131000",
    "0122222133100",
    "0126666111110",
    "0122222222210",
    "0126666666210",
    "0122222222210",
    "0126666666210",
    "0122222222210",
    "0126666666210",
    "0122222222210",
    "0111111111110",
]


def dot(ring):
    size, c = 11, 5.0
    rows = []
    for y in range(size):
        row = ""
        for x in range(size):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if d <= 4.6:
                if ring and d <= 2.4:
                    row += "2"
                elif d >= 3.8:
                    row += "1"
                else:
                    row += "4"
            else:
                row += "0"
        rows.append(row)
    return rows


if __name__ == "__main__":
    for name, rows in (("pf.gif", PAGE), ("bluedot.gif", dot(False)), ("bluedot2.gif", dot(True))):
        with open(name, "wb") as f:
            f.write(gif(rows))
