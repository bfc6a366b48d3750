#!/usr/bin/env python3
"""Draw the help button's glyph and write it as ../helpglyph.bmp.

One 16x16 image: a round teal button, lighter at the top, with a white
question mark on it.  It is drawn like the images of ImageList1 (see
make_images.py): the same palette, supersampling and transparent magenta
RGB(255, 0, 255), and the dialogs load it with ImageList_LoadImageA and
that mask colour.

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.  The output is
deterministic: same script, same bytes.

Usage:  python3 make_help_glyph.py [output.bmp]
"""

import os
import sys

sys.dont_write_bytecode = True
from make_icon import TEAL_BOTTOM, TEAL_RIM, pixel_glyph
from make_images import (CELL, TRANSPARENT, TEAL_LIGHT, WHITE, build_bmp, disk,
                         read_sized, render, vertical, write_checked)

QUESTION = [
    ".XXXX.",
    "XX..XX",
    "....XX",
    "...XX.",
    "..XX..",
    "..XX..",
    "......",
    "..XX..",
]


def help_glyph():
    return [
        (disk(8, 8, 7.2), TEAL_RIM),
        (disk(8, 8, 6.2), vertical(TEAL_LIGHT, TEAL_BOTTOM, 2, 14)),
        (pixel_glyph(5, 4, QUESTION), WHITE),
    ]


def check(path):
    """List the faults of the written glyph; empty if it is right."""
    rows, faults = read_sized(path, CELL, CELL)
    if faults:
        return faults
    pixels = [p for row in rows for p in row]
    faults = []
    if TRANSPARENT not in pixels:
        faults.append("no transparent pixel: the corners must be clear")
    whites = sum(1 for p in pixels if p == WHITE)
    if whites < 12:
        faults.append("only %d white pixels: the question mark is missing"
                      % whites)
    return faults


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    target = argv[1] if len(argv) > 1 else os.path.join(here, "..",
                                                         "helpglyph.bmp")
    return write_checked(target, build_bmp(render(help_glyph())), check)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
