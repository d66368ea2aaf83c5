#!/usr/bin/env python3
"""Writes the seeds of the font and text target: a tiny TrueType font built table by table,
packed into a text archive, behind the target's three option bytes and a Shift_JIS text."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Characters the font maps, each to a square of its own width; '=' makes the '-' bar work.
CHARS = [ord('A'), ord('='), ord('1'), 0x3042, 0x4E00]


def square(size):
    """Simple glyph: one closed contour of four on-curve points with 16-bit deltas."""
    points = [(50, 0), (50, size), (50 + size, size), (50 + size, 0)]
    out = struct.pack('>hhhhh', 1, 50, 0, 50 + size, size)
    out += struct.pack('>HH', len(points) - 1, 0)
    out += bytes([0x01] * len(points))
    px = py = 0
    xs = ys = b''
    for x, y in points:
        xs += struct.pack('>h', x - px)
        ys += struct.pack('>h', y - py)
        px, py = x, y
    return out + xs + ys


def cmap(mapping):
    codes = sorted(mapping)
    segments = [(c, c, (mapping[c] - c) & 0xFFFF) for c in codes] + [(0xFFFF, 0xFFFF, 1)]
    n = len(segments)
    search = 2 ** (n.bit_length() - 1)
    sub = struct.pack('>HHHHHHH', 4, 16 + 8 * n, 0, 2 * n, 2 * search,
                      search.bit_length() - 1, 2 * n - 2 * search)
    sub += b''.join(struct.pack('>H', e) for _, e, _ in segments) + b'\0\0'
    sub += b''.join(struct.pack('>H', s) for s, _, _ in segments)
    sub += b''.join(struct.pack('>H', d) for _, _, d in segments)
    sub += b'\0\0' * n
    return struct.pack('>HHHHI', 0, 1, 3, 1, 12) + sub


def font():
    glyphs = [b''] + [square(400 + 100 * i) for i in range(len(CHARS))]
    glyf, loca = b'', []
    for g in glyphs:
        loca.append(len(glyf) // 2)
        glyf += g + b'\0' * (len(g) % 2)
    loca.append(len(glyf) // 2)
    count = len(glyphs)
    tables = {
        b'cmap': cmap({c: i + 1 for i, c in enumerate(CHARS)}),
        b'glyf': glyf,
        b'head': struct.pack('>IIIIHHqqhhhhHHhhh', 0x10000, 0x10000, 0, 0x5F0F3CF5, 3, 1000,
                             0, 0, 0, -200, 1000, 900, 0, 8, 2, 0, 0),
        b'hhea': struct.pack('>Ihhh' + 'H' + 'hhh' + 'hhh' + 'hhhh' + 'hH', 0x10000, 900, -200,
                             0, 1000, 0, 0, 1000, 1, 0, 0, 0, 0, 0, 0, 0, count),
        b'hmtx': b''.join(struct.pack('>Hh', 500 + 100 * i, 50) for i in range(count)),
        b'loca': b''.join(struct.pack('>H', o) for o in loca),
        b'maxp': struct.pack('>IHHHHHHHHHHHHHH', 0x10000, count, 4, 1, 0, 0, 2, 0, 0, 0, 0,
                             0, 0, 0, 0),
        b'name': struct.pack('>HHH', 0, 0, 6),
        b'post': struct.pack('>IIhhIIIII', 0x30000, 0, -100, 50, 0, 0, 0, 0, 0),
    }
    n = len(tables)
    search = 2 ** (n.bit_length() - 1)
    out = struct.pack('>IHHHH', 0x10000, n, 16 * search, search.bit_length() - 1,
                      16 * n - 16 * search)
    offset = 12 + 16 * n
    body = b''
    for tag in sorted(tables):
        data = tables[tag]
        out += tag + struct.pack('>III', 0, offset + len(body), len(data))
        body += data + b'\0' * (-len(data) % 4)
    return out + body


def t2g(entries):
    """Short-form archive: 16-byte header, then per entry a 4-byte word, a 24-byte name,
    the data size and the stored size, then the data padded to the stored size."""
    out = b'T2GF' + struct.pack('<III', 0, 0, len(entries))
    for name, data in entries:
        stored = (len(data) + 3) & ~3
        out += struct.pack('<I', 0) + name.encode().ljust(24, b'\0')
        out += struct.pack('<II', len(data), stored) + data.ljust(stored, b'\0')
    return out


def seed(size, per_line, text, archive):
    return bytes([size, per_line, len(text)]) + text + archive


def main():
    folder = os.path.join(HERE, 'corpus', 'font_text')
    os.makedirs(folder, exist_ok=True)
    tiny = font()
    both = t2g([('UIGothic-Bold.otf', tiny), ('UIRounded-DemiBold.otf', tiny)])
    seeds = {
        'ascii': seed(24, 8, b'AA=1-A', both),
        'kana_lines': seed(40, 0x80 | 4, 'あ一あ一A\n1'.encode('cp932'), both),
        'not_a_font': seed(16, 12, b'A1', t2g([('UIGothic-Bold.otf', b'\0\1\0\0' + b'x' * 20)])),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
