#!/usr/bin/env python3
"""Writes the small binary seed corpora of the archive and image fuzz targets."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def t2g(entries, long=False):
    out = b'T2GF' + struct.pack('<III', 0, 1 if long else 0, len(entries))
    if long:
        out = out.ljust(64, b'\0')
    width = 52 if long else 24
    for i, (name, data, stored) in enumerate(entries):
        out += struct.pack('<I', 0) + name.encode().ljust(width, b'\0')
        out += struct.pack('<II', len(data), stored)
        start = len(out)
        out = (out + data).ljust(start + stored, b'\0')
        if i + 1 < len(entries):
            out = out[:start + (stored & ~3)]
    return out


def tga(width, height, top_down=False, rle=False):
    """Uncompressed (type 2) or run-length (type 10) 32-bit true-colour Targa."""
    header = struct.pack('<BBBHHBHHHHBB', 0, 0, 10 if rle else 2, 0, 0, 0, 0, 0,
                         width, height, 32, 8 | (0x20 if top_down else 0))
    pixels = b''
    for y in range(height):
        row = b''.join(bytes((x * 40 % 256, y * 60 % 256, 128, 255)) for x in range(width))
        if rle:
            row = b''.join(b'\x00' + row[i:i + 4] for i in range(0, len(row), 4))
        pixels += row
    return header + pixels


def tga_rle24(width, height):
    """Run-length 24-bit Targa as the data build writes opaque pictures: per row a run packet
    and a literal packet."""
    header = struct.pack('<BBBHHBHHHHBB', 0, 0, 10, 0, 0, 0, 0, 0, width, height, 24, 0)
    pixels = b''
    for y in range(height):
        pixels += bytes((0x80 | (width - 2), 40, y * 60 % 256, 128))
        pixels += bytes((0, 200, 100, y * 30 % 256))
    return header + pixels


def write(folder, name, data):
    path = os.path.join(HERE, 'corpus', folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), 'wb') as f:
        f.write(data)


write('archive', 'short.t2g', t2g([('a.tga', b'abcd', 4), ('X.LYT', b'hello', 8)]))
write('archive', 'long.t2g', t2g([('font.otf', b'OTTO1234', 8), ('pic.gim', b'gim!', 4)], True))
write('archive', 'unaligned.t2g', t2g([('a.tga', b'abcdef', 6), ('A.TGA', b'dup!', 4)]))
write('image', 'bottom_up.tga', tga(3, 2))
write('image', 'top_down.tga', tga(2, 3, top_down=True))
write('image', 'rle.tga', tga(4, 2, rle=True))
write('image', 'rle24.tga', tga_rle24(5, 3))
