#!/usr/bin/env python3
"""The icons kept in packaging/icons/ are the ones the game draws today: each
size is rendered again under the test display, as "make icons" renders it,
and compared pixel by pixel. Usage: icons_test.py ICON_PICTURE SOURCE_DIR"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib


def pixels(path):
    """The header and the unpacked rows of a PNG as tools/bmp_to_png.py writes it."""
    data, at, chunks = open(path, 'rb').read(), 8, {}
    while at < len(data):
        length, kind = struct.unpack_from('>I4s', data, at)
        chunks[kind] = chunks.get(kind, b'') + data[at + 8:at + 8 + length]
        at += 12 + length
    return chunks[b'IHDR'], zlib.decompress(chunks[b'IDAT'])


icon_picture, source = sys.argv[1:3]
with tempfile.TemporaryDirectory() as work:
    bmp, png = os.path.join(work, 'icon.bmp'), os.path.join(work, 'icon.png')
    for size in (48, 128, 256):
        subprocess.run([icon_picture, str(size), bmp], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([sys.executable, os.path.join(source, 'tools', 'bmp_to_png.py'), bmp, png], check=True)
        if pixels(png) != pixels(os.path.join(source, 'packaging', 'icons', 'ironstep-%d.png' % size)):
            sys.exit('ironstep-%d.png differs from the drawing; "make icons" renders the icons again' % size)
