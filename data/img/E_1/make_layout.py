#!/usr/bin/env python3
"""Writes E_1.lyt.json beside this script: the problem list's layout.

The grid of 50 cells follows the list screen's arithmetic: cell k sits in column k mod 10
and row k / 10, its tile's top-left corner at (62 + 86 col, 215 + 80 row), 80 x 53, so a
single digit's centre (102 + 86 col, row top + 23.5) is the tile's centre. The digit panes
start there and are moved by the screen; the check mark sits on the tile's upper right
edge, its tick above the digits so that even a three-digit number stays readable.
The scroll column (x 932..979, y 207..591) is drawn into the list window picture."""
import json
import os

PIC = 'picture'


def picture(name, x, y, w, h, anchor=None, visible=True):
    pane = {'name': name, 'kind': 'picture', 'material': PIC}
    if anchor:
        pane['anchor'] = anchor
    pane['screen'] = [x, y]
    pane['size'] = [w, h]
    if not visible:
        pane['visible'] = False
    return pane


def main():
    panes = [
        picture('background', 512, 384, 1024, 768),
        picture('title', 512, 74, 400, 80),
        picture('list_window', 24, 142, 976, 512, anchor='top-left'),
    ]
    for k in range(50):
        col, row = k % 10, k // 10
        left, top = 62 + 86 * col, 215 + 80 * row
        n = k + 1
        panes.append(picture('btn_problem%02d' % n, left, top, 80, 53, anchor='top-left'))
        for d in (1, 2, 3):
            panes.append(picture('%02d_num%d' % (n, d), left + 40, top + 23, 20, 30))
        panes.append(picture('%02d_check' % n, left + 71, top - 6, 32, 32))
    panes += [
        picture('gray_scroll_up', 956, 183, 48, 48),
        picture('btn_scroll_up1', 956, 183, 48, 48),
        picture('btn_scroll_up2', 956, 183, 48, 48),
        picture('gray_scroll_down', 956, 615, 48, 48),
        picture('btn_scroll_down1', 956, 615, 48, 48),
        picture('btn_scroll_down2', 956, 615, 48, 48),
        picture('btn_scroll_bar', 955, 230, 40, 46),
        picture('btn_back_1', 880, 708, 180, 60),
        picture('btn_back_2', 880, 708, 180, 60),
    ]
    lines = ['{', '  "materials": [{"name": "%s"}],' % PIC, '  "root": {',
             '    "name": "RootPane",', '    "size": [1024, 768],', '    "children": [']
    lines.append(',\n'.join('      ' + json.dumps(p, ensure_ascii=False) for p in panes))
    lines += ['    ]', '  }', '}']
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'E_1.lyt.json'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
