#!/usr/bin/env python3
"""Writes the small test bitmaps of this folder.

Pixel (x, y), top-down, has index (7x + 31y + 1) mod 256; colour-table entry
i is red i, green 255 - i, blue i // 2; row padding bytes are 0xEE.
"""
import struct


def bitmap(width, height, core=False):
    row_bytes = (width + 3) & ~3
    header_size = 12 if core else 40
    table = b"".join(
        bytes([i // 2, 255 - i, i]) + (b"" if core else b"\0") for i in range(256))
    offset = 14 + header_size + len(table)
    size = offset + row_bytes * height
    out = struct.pack("<HIHHI", 0x4D42, size, 0, 0, offset)
    if core:
        out += struct.pack("<IHHHH", 12, width, height, 1, 8)
    else:
        out += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, 0, 2835, 2835, 0, 0)
    out += table
    for y in reversed(range(height)):
        row = bytes((7 * x + 31 * y + 1) % 256 for x in range(width))
        out += row + b"\xEE" * (row_bytes - width)
    return out


if __name__ == "__main__":
    for name, data in (("pattern13x7.bmp", bitmap(13, 7)),
                       ("core9x4.bmp", bitmap(9, 4, core=True)),
                       ("square16.bmp", bitmap(16, 16))):
        with open(name, "wb") as f:
            f.write(data)
