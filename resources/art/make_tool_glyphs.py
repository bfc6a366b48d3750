#!/usr/bin/env python3
"""Draw the configuration window's button glyphs and write ../toolglyphs.bmp.

Four 16x16 images side by side in one 64x16 strip, for the buttons beside
their captions:

  0  Add              a definition sheet with a green plus on its corner
  1  Update           the sheet with an orange pencil writing on it
  2  Delete           the sheet with a red cross on its corner
  3  Show OstrelMenu  a popup menu with its teal banner and the mouse
                      pointer over it

The sheet is the paper of ImageList1's pictures; the badges are drawn in
whole pixels so they stay crisp at this size.  Everything else is shared
with make_images.py: palette, supersampling, the soft grey edges and the
transparent magenta RGB(255, 0, 255) that the program gives
ImageList_LoadImageA as the mask colour.

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.  The output is
deterministic: same script, same bytes.

Usage:  python3 make_tool_glyphs.py [output.bmp]
"""

import os
import sys

sys.dont_write_bytecode = True
from make_icon import BOLT, BOLT_EDGE, CAP_EDGE, TEAL_BOTTOM, TEAL_TOP, pixel_glyph
from make_images import (CELL, LINE_GREY, PAPER, RED, TRANSPARENT, WHITE,
                         build_bmp, magenta_ish, read_sized, rect, render, strip,
                         vertical, write_checked)

COUNT = 4

GREEN = (46, 160, 60)
GREEN_DARK = (18, 92, 30)
BLACK = (16, 20, 22)
PENCIL_TIP = (238, 208, 160)


def pixels(col0, row0, rows, colours):
    """Layers of a pixel pattern whose letters name colours: {"D": rgb}."""
    return [(pixel_glyph(col0, row0, ["".join("X" if c == ch else "." for c in r)
                                      for r in rows]), colour)
            for ch, colour in colours.items()]


def sheet(lines=3):
    """A definition sheet on the left of the cell, with lines of text."""
    layers = [
        (rect(1, 1, 12, 16), CAP_EDGE),
        (rect(2, 2, 11, 15), PAPER),
    ]
    for k in range(lines):
        layers.append((rect(3, 4 + 3 * k, 10 - 2 * (k % 2), 5 + 3 * k), LINE_GREY))
    return layers


PLUS_ROWS = [
    "..DDD..",
    "..DGD..",
    "DDDGDDD",
    "DGGGGGD",
    "DDDGDDD",
    "..DGD..",
    "..DDD..",
]


def add():
    return sheet() + pixels(9, 9, PLUS_ROWS, {"D": GREEN_DARK, "G": GREEN})


# A pencil lying from the top right down to its tip at the bottom left,
# writing on the sheet: dark edges, orange body, wooden tip, graphite point.
PENCIL_ROWS = [
    "..........EE",
    ".........EOOE",
    "........EOOE.",
    ".......EOOE..",
    "......EOOE...",
    ".....EOOE....",
    "....EOOE.....",
    "...TTOE......",
    "...TTT.......",
    "...K.........",
]


def update():
    return sheet() + pixels(3, 5, PENCIL_ROWS, {
        "E": BOLT_EDGE, "O": BOLT, "T": PENCIL_TIP, "K": BLACK})


CROSS_ROWS = [
    "RR....RR",
    "RRR..RRR",
    ".RRRRRR.",
    "..RRRR..",
    "..RRRR..",
    ".RRRRRR.",
    "RRR..RRR",
    "RR....RR",
]


def delete():
    return sheet() + pixels(8, 8, CROSS_ROWS, {"R": RED})


# The mouse pointer, black outlined in white so it reads on the menu and off it.
POINTER_ROWS = [
    "W......",
    "WW.....",
    "WBW....",
    "WBBW...",
    "WBBBW..",
    "WBBBBW.",
    "WBBBBBW",
    "WBBWWWW",
    "WBW....",
    "WW.....",
]


def show_menu():
    return [
        (rect(1, 1, 12, 14), CAP_EDGE),
        (rect(2, 2, 11, 13), PAPER),
        # The banner down the menu's left side, as the OstrelMenu has.
        (rect(2, 2, 5, 13), vertical(TEAL_TOP, TEAL_BOTTOM, 2, 13)),
        (rect(6, 4, 10, 5), LINE_GREY),
        (rect(6, 6, 10, 8), TEAL_TOP),
        (rect(6, 9, 10, 10), LINE_GREY),
    ] + pixels(8, 6, POINTER_ROWS, {"W": WHITE, "B": BLACK})


PICTURES = [add, update, delete, show_menu]


def check(path):
    """List the faults of the written strip; empty if it is right."""
    rows, faults = read_sized(path, CELL * COUNT, CELL)
    if faults:
        return faults
    faults = []
    cells = []
    for c in range(COUNT):
        cell = [rows[j][c * CELL + i] for j in range(CELL) for i in range(CELL)]
        cells.append(cell)
        clear = cell.count(TRANSPARENT)
        if clear == 0:
            faults.append("image %d has no transparent pixel" % c)
        if clear == len(cell):
            faults.append("image %d is empty" % c)
        odd = sorted({p for p in cell if p != TRANSPARENT and magenta_ish(p)})
        if odd:
            faults.append("image %d has magenta-like colours %s" % (c, odd[:4]))
    # Each badge must be there in its own colour.
    for c, colour, name in ((0, GREEN, "green plus"), (1, BOLT, "orange pencil"),
                            (2, RED, "red cross"), (3, BLACK, "pointer")):
        if cells[c].count(colour) < 5:
            faults.append("image %d: the %s is missing" % (c, name))
    for a in range(COUNT):
        for b in range(a + 1, COUNT):
            if cells[a] == cells[b]:
                faults.append("images %d and %d are the same" % (a, b))
    return faults


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    target = argv[1] if len(argv) > 1 else os.path.join(here, "..",
                                                         "toolglyphs.bmp")
    cells = [render(picture()) for picture in PICTURES]
    return write_checked(target, build_bmp(strip(cells)), check)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
