#!/usr/bin/env python3
"""Draws the program icon (a memory chip carrying the free-memory gauge) and writes resources/QeltoNimbi.ico.

The 16x16 and 32x32 images use the 16 standard colours; 20x20 and 24x24 (the small icon at 125 % and 150 % display
scale), 48x48 and 256x256 are true colour for modern Windows. A program loads the size the system asks for at its
DPI: 16, 20, 24 or 32 pixels in the notification area.
Run it again after changing the drawing; the output is deterministic."""
import struct
import sys
import zlib
from pathlib import Path

# The 16 standard colours as (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
           (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, SILVER, RED, LIME, WHITE = 0, 4, 7, 9, 10, 15


def colour_at(x, y):
    """Palette index of the design at a point of the 32x32 design grid, or None where it is transparent."""
    if 6 <= y < 26 and 3 <= x < 29:
        if y in (6, 25) or x in (3, 28):
            return BLACK
        if 12 <= y < 20 and 6 <= x < 26:
            if y in (12, 19) or x in (6, 25):
                return WHITE
            return LIME if x < 18 else RED
        return NAVY
    pin = (x - 5) % 4 < 2 and 5 <= x < 27
    if pin and (2 <= y < 6 or 26 <= y < 30):
        return SILVER
    return None


def render(size, samples):
    """Rows of (r, g, b, a), top row first, each pixel averaged over samples x samples points."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * 32 / size
                    y = (py + (sy + 0.5) / samples) * 32 / size
                    index = colour_at(int(x), int(y))
                    if index is not None:
                        cr, cg, cb = PALETTE[index]
                        r, g, b, a = r + cr, g + cg, b + cb, a + 1
            n = samples * samples
            row.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def and_mask(size, opaque):
    stride = (size + 31) // 32 * 4
    data = b""
    for y in reversed(range(size)):
        bits = bytearray(stride)
        for x in range(size):
            if not opaque(x, y):
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    return data


def bmp_16_colours(size):
    indices = [[colour_at(x * 32 // size, y * 32 // size) for x in range(size)] for y in range(size)]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    stride = (size * 4 + 31) // 32 * 4
    pixels = b""
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            index = indices[y][x] or 0
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += bytes(row)
    return header + palette + pixels + and_mask(size, lambda x, y: indices[y][x] is not None)


def bmp_true_colour(size):
    rows = render(size, 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    return header + pixels + and_mask(size, lambda x, y: rows[y][x][3] > 0)


def png(size):
    rows = render(size, 4)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = [(16, 16, 4, bmp_16_colours(16)), (20, 0, 32, bmp_true_colour(20)), (24, 0, 32, bmp_true_colour(24)),
              (32, 16, 4, bmp_16_colours(32)), (48, 0, 32, bmp_true_colour(48)), (256, 0, 32, png(256))]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, colours, bits, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent.parent / "resources" / "QeltoNimbi.ico")
    out.write_bytes(directory + b"".join(data for *_, data in images))


if __name__ == "__main__":
    main()
