#!/usr/bin/env python3
"""Writes boards.json beside this script: the grid, star and wood-grain paths of the board
pictures. Run it after changing the geometry below; the build only reads boards.json.

Every board picture is 640 x 640 and the screens place its top-left corner at (41, 63), so a
grid point lands on screen at (41 + x, 63 + y) for the image point (x, y) written here.
Lines are centred on whole pixel boundaries, matching even-sized stones centred there."""
import json
import math
import os
import random

SIZE = 640


def num(v):
    return ('%.2f' % v).rstrip('0').rstrip('.')


def grid(first, pitch, n, open_end):
    """n lines each way from `first`; an open end runs the lines off the picture's edge."""
    last = first + pitch * (n - 1)
    end = SIZE + 4 if open_end else last
    d = []
    for i in range(n):
        p = first + pitch * i
        d.append('M%s %sH%s' % (num(first), num(p), num(end)))
        d.append('M%s %sV%s' % (num(p), num(first), num(end)))
    return ''.join(d)


def stars(first, pitch, points, r):
    d = []
    for c, row in points:
        x, y = first + pitch * c, first + pitch * row
        d.append('M%s %sa%s %s 0 1 0 %s 0a%s %s 0 1 0 %s 0' %
                 (num(x - r), num(y), num(r), num(r), num(2 * r), num(r), num(r), num(-2 * r)))
    return ''.join(d)


def grain(seed):
    """Long, gently waving lines across the board, like straight-grained wood."""
    rnd = random.Random(seed)
    d = []
    y = -6.0
    while y < SIZE + 6:
        y += rnd.uniform(5, 17)
        amp, phase, wave = rnd.uniform(1, 4), rnd.uniform(0, 6.3), rnd.uniform(180, 420)
        pts = []
        for x in range(-10, SIZE + 31, 30):
            pts.append('%s %s' % (num(x), num(y + amp * math.sin(phase + x / wave * 6.283))))
        d.append('M' + 'L'.join(pts))
    return ''.join(d)


STARS_19 = [(a, b) for a in (3, 9, 15) for b in (3, 9, 15)]
STARS_13 = [(a, b) for a in (3, 9) for b in (3, 9)]  # the corner window of the full board
STARS_9 = [(2, 2), (6, 2), (4, 4), (2, 6), (6, 6)]

BOARDS = [
    # name, grid, stars, line width
    ('COMN_board19.tga', grid(32, 32, 19, False), stars(32, 32, STARS_19, 3.5), 1.5),
    ('COMN_board19trim.tga', grid(32, 48, 13, True), stars(32, 48, STARS_13, 4.5), 2),
    ('COMN_board9.tga', grid(40, 70, 9, False), stars(40, 70, STARS_9, 5.5), 2),
    ('COMN_board6.tga', grid(58, 105, 6, False), '', 2),
    ('COMN_board.tga', '', '', 0),  # plain wood until a board size is known
]


def main():
    images = [{'name': n, 'vars': {'grid': g, 'stars': s, 'line': w}} for n, g, s, w in BOARDS]
    doc = {'template': 'board.svg', 'size': [SIZE, SIZE],
           'vars': {'grain': grain(7), 'grain_fine': grain(19)}, 'images': images}
    lines = ['{', '  "template": "board.svg",', '  "size": [%d, %d],' % (SIZE, SIZE),
             '  "vars": %s,' % json.dumps(doc['vars']), '  "images": [']
    lines.append(',\n'.join('    ' + json.dumps(i) for i in images))
    lines += ['  ]', '}']
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'boards.json'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
