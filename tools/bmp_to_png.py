#!/usr/bin/env python3
"""Converts a 24-bit BMP (as the screenshot tool writes) to PNG: bmp_to_png.py IN.bmp OUT.png"""
import struct
import sys
import zlib


def main(source, target):
    data = open(source, 'rb').read()
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height = struct.unpack_from('<ii', data, 18)
    rows = abs(height)
    stride = (width * 3 + 3) & ~3
    raw = bytearray()
    for y in range(rows):
        start = offset + ((rows - 1 - y) * stride if height > 0 else y * stride)
        raw.append(0)
        row = data[start:start + width * 3]
        for x in range(width):
            b, g, r = row[3 * x:3 * x + 3]
            raw += bytes((r, g, b))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    header = struct.pack('>IIBBBBB', width, rows, 8, 2, 0, 0, 0)
    with open(target, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw))) +
                  chunk(b'IEND', b''))


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
