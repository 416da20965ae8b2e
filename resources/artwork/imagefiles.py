"""Byte-exact writers for the two file formats the artwork ships in.

BMP: 8 bits per pixel, uncompressed, 40-byte info header, full 256-entry
colour table, bottom-up rows padded to 4 bytes -- the only layout the
program's bitmap loader accepts.  PNG: 8-bit RGB or RGBA, one IDAT chunk.
"""

import struct
import zlib

BMP_HEADER_BYTES = 14 + 40 + 256 * 4  # file header, info header, colour table


def bmp_bytes(width, height, rows, palette):
    """rows: `height` lists of `width` palette indices, top row first.
    palette: 256 (r, g, b) tuples."""
    if len(palette) != 256:
        raise ValueError("the colour table must have exactly 256 entries")
    if len(rows) != height or any(len(row) != width for row in rows):
        raise ValueError("pixel rows do not match the image size")
    row_bytes = (width + 3) & ~3
    pixel_bytes = row_bytes * height
    file_header = struct.pack("<2sIHHI", b"BM", BMP_HEADER_BYTES + pixel_bytes, 0, 0,
                              BMP_HEADER_BYTES)
    # biClrUsed 256 states the full table explicitly; readers that take 0 as
    # "2^bits" arrive at the same count.
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, pixel_bytes,
                              2835, 2835, 256, 0)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    padding = bytes(row_bytes - width)
    # Stored bottom-up: the last picture row comes first in the file.
    pixels = b"".join(bytes(row) + padding for row in reversed(rows))
    return file_header + info_header + colour_table + pixels


def png_bytes(width, height, rows, alpha):
    """rows: `height` lists of `width` pixel tuples, top row first; each tuple
    is (r, g, b, a) when alpha is true, else (r, g, b)."""
    channels = 4 if alpha else 3
    raw = bytearray()
    for row in rows:
        if len(row) != width:
            raise ValueError("pixel row does not match the image width")
        raw.append(0)  # filter type None: the images are tiny, size is no concern
        for pixel in row:
            raw.extend(pixel[:channels])
    if len(rows) != height:
        raise ValueError("pixel rows do not match the image height")

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    colour_type = 6 if alpha else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_file(path, data):
    with open(path, "wb") as out:
        out.write(data)
