#!/usr/bin/env python3
"""Writes the small seed corpus of the lesson page fuzz target.

A seed is: page byte, lesson byte, data length (u16 LE), lesson data file, lesson text file.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def record(pose, window, size, steps, auto=0, final=0, text_first=0, step_count=None):
    out = struct.pack('<7i', pose, window, size,
                      len(steps) if step_count is None else step_count, auto, final, text_first)
    for entries in steps:
        out += struct.pack('<i', len(entries))
        for x, y, code in entries:
            out += struct.pack('<BBH', x, y, code)
    return out


def data_file(records):
    return struct.pack('<i', len(records)) + b''.join(records)


def text_file(pages):
    return b''.join(c + b'\r\n' + b + b'\r\n' for c, b in pages)


def seed(page, lesson, data, text):
    return bytes((page, lesson)) + struct.pack('<H', len(data)) + data + text


KANA = '\u3042'.encode('shift_jis')
MARU = '\u3002'.encode('shift_jis')

two_pages = data_file([
    record(2, 1, 9, [[], [(0, 0, 1), (1, 1, 2)], [(2, 2, 0x4001)]]),
    record(0, 2, 13, [[(3, 0, 0x0031)], [(3, 0, 0x0500)]], final=1),
])
seeds = {
    'two_pages.bin': seed(1, 0, two_pages,
                          text_file([(b'A::B', KANA * 18 + MARU + KANA * 2), (b'C', KANA * 40)])),
    'mirrored.bin': seed(0, 1, data_file([record(0, 3, 19, [[(4, 0, 2)], [(4, 1, 0x8060)]],
                                                 text_first=1)]),
                         text_file([(b'CAP', KANA * 3 + b'::::' + KANA)])),
    'lying_counts.bin': seed(0, 0, data_file([record(0, 0, 40, [[(30, 30, 1)]], step_count=300)]),
                             b'no line end'),
}
folder = os.path.join(HERE, 'corpus', 'lesson_page')
os.makedirs(folder, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)
