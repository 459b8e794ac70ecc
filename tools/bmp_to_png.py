#!/usr/bin/env python3
"""Converts a BMP to PNG: bmp_to_png.py IN.bmp OUT.png

24-bit pictures (as the screenshot tools write) become RGB PNGs; 32-bit ones
(as icon_picture writes, the fourth byte the opacity) become RGBA PNGs. The
PNG is written to a temporary file beside OUT.png and renamed into place."""
import os
import struct
import sys
import zlib


def main(source, target):
    data = open(source, 'rb').read()
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height = struct.unpack_from('<ii', data, 18)
    depth = struct.unpack_from('<H', data, 28)[0]
    if depth not in (24, 32):
        sys.exit('bmp_to_png.py: %s: %d-bit pictures are not handled' % (source, depth))
    size = depth // 8
    rows = abs(height)
    stride = (width * size + 3) & ~3
    raw = bytearray()
    for y in range(rows):
        start = offset + ((rows - 1 - y) * stride if height > 0 else y * stride)
        raw.append(0)
        row = data[start:start + width * size]
        for x in range(width):
            b, g, r = row[size * x:size * x + 3]
            raw += bytes((r, g, b)) + row[size * x + 3:size * x + size]

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    header = struct.pack('>IIBBBBB', width, rows, 8, 6 if depth == 32 else 2, 0, 0, 0)
    temporary = target + '.tmp'
    with open(temporary, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
                  chunk(b'IEND', b''))
    os.replace(temporary, target)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
