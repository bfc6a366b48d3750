#!/usr/bin/env python3
"""Draw the configuration window's button glyphs and write ../toolglyphs.bmp.

Four 16x16 images side by side in one 64x16 strip, for the buttons beside
their captions:

  0  Add              a definition sheet with a green plus on its corner
  1  Update           the sheet with an orange pencil writing on it
  2  Delete           the sheet with a red cross on its corner
  3  Show OstrelMenu  a popup menu with its teal banner and the mouse
                      pointer over it

The sheet is the paper of ImageList1's pictures; at 16 pixels the badges
are drawn in whole pixels so they stay crisp.  At the sizes for 120, 144
and 192 DPI (toolglyphs_20.bmp, toolglyphs_24.bmp, toolglyphs_32.bmp, 8-bit
with a colour table) they are drawn as shapes, their straight edges on
whole pixels.  Everything else is shared through artlib.py: palette,
supersampling, the soft grey edges and the transparent magenta
RGB(255, 0, 255) that the program gives ImageList_LoadImageA as the mask
colour.

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.  The output is
deterministic: same script, same bytes.

Usage:  python3 make_tool_glyphs.py [output-folder]
"""

import math
import sys

sys.dont_write_bytecode = True
from artlib import (BOLT, BOLT_EDGE, CAP_EDGE, CELL, LINE_GREY, PAPER, RED,
                    TEAL_BOTTOM, TEAL_TOP, WHITE, cells_of, draw, enlarged,
                    offset_polygon, output_folder, pixel_glyph, polygon, rect,
                    segment, strip_faults, union, vertical, write_sizes)

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


def add():
    # A plus of whole pixels: a bar of green in a dark one, each way.
    return sheet() + [
        (union(rect(9, 11, 16, 14), rect(11, 9, 14, 16)), GREEN_DARK),
        (union(rect(10, 12, 15, 13), rect(12, 10, 13, 15)), GREEN),
    ]


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


def drawn_pencil():
    """The pencil as shapes: its point at the bottom left, its body along
    the diagonal up to the top right."""
    tip_x, tip_y, length = 6.0, 15.0, 12.8
    k = math.sqrt(0.5)

    def at(u, v):  # u along the pencil from its point, v across it
        return (tip_x + (u + v) * k, tip_y + (v - u) * k)

    def shape(points):
        return polygon([at(u, v) for u, v in points], False)

    return [
        (shape([(-0.5, 0), (3.0, -1.6), (length, -1.6), (length, 1.6),
                (3.0, 1.6)]), BOLT_EDGE),
        (shape([(3.4, -0.9), (length - 0.7, -0.9), (length - 0.7, 0.9),
                (3.4, 0.9)]), BOLT),
        (shape([(0.3, 0), (3.0, -1.0), (3.0, 1.0)]), PENCIL_TIP),
        (shape([(-0.2, 0), (1.3, -0.55), (1.3, 0.55)]), BLACK),
    ]


def update():
    if enlarged():
        return sheet() + drawn_pencil()
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
    if enlarged():
        return sheet() + [(union(segment(9.1, 9.1, 14.9, 14.9, 2.3),
                                 segment(14.9, 9.1, 9.1, 14.9, 2.3)), RED)]
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


def drawn_pointer():
    """The pointer as shapes: black, outlined in white."""
    black = [(9.0, 7.6), (14.4, 13.0), (11.4, 13.0), (9.9, 15.2), (9.0, 15.2)]
    return [(polygon(offset_polygon(black, 0.95)), WHITE),
            (polygon(black), BLACK)]


def show_menu():
    if enlarged():
        pointer = drawn_pointer()
    else:
        pointer = pixels(8, 6, POINTER_ROWS, {"W": WHITE, "B": BLACK})
    return [
        (rect(1, 1, 12, 14), CAP_EDGE),
        (rect(2, 2, 11, 13), PAPER),
        # The banner down the menu's left side, as the OstrelMenu has.
        (rect(2, 2, 5, 13), vertical(TEAL_TOP, TEAL_BOTTOM, 2, 13)),
        (rect(6, 4, 10, 5), LINE_GREY),
        (rect(6, 6, 10, 8), TEAL_TOP),
        (rect(6, 9, 10, 10), LINE_GREY),
    ] + pointer


PICTURES = [add, update, delete, show_menu]


def check(rows, pixels):
    """List the faults of a written strip; empty if it is right."""
    faults = strip_faults(rows, COUNT)
    cells = cells_of(rows, COUNT)
    # Each badge must be there in its own colour.
    for c, colour, name in ((0, GREEN, "green plus"), (1, BOLT, "orange pencil"),
                            (2, RED, "red cross"), (3, BLACK, "pointer")):
        if cells[c].count(colour) < 5:
            faults.append("image %d: the %s is missing" % (c, name))
    return faults


def main(argv):
    folder = output_folder(argv)
    return write_sizes(folder, "toolglyphs", CELL, COUNT,
                       lambda c, pixels: draw(PICTURES[c], CELL, pixels),
                       check, eight_bit=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
