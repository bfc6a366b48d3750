#!/usr/bin/env python3
"""Draw the help button's glyph and write it as ../helpglyph.bmp.

One 16x16 image: a round teal button, lighter at the top, with a white
question mark on it.  It is drawn like the images of ImageList1 (see
artlib.py): the same palette, supersampling and transparent magenta
RGB(255, 0, 255), and the dialogs load it with ImageList_LoadImageA and
that mask colour.  At 16 pixels the question mark is laid out in whole
pixels; it is drawn as strokes at the sizes for 120, 144 and 192 DPI
(helpglyph_20.bmp, helpglyph_24.bmp, helpglyph_32.bmp, all 24-bit).

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.  The output is
deterministic: same script, same bytes.

Usage:  python3 make_help_glyph.py [output-folder]
"""

import math
import sys

sys.dont_write_bytecode = True
from artlib import (CELL, TEAL_BOTTOM, TEAL_LIGHT, TEAL_RIM, TRANSPARENT,
                    WHITE, arc, disk, draw, drawn_size, enlarged,
                    output_folder, pixel_glyph, rect, rounded_rect, segment,
                    union, vertical, write_sizes)

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


def drawn_question(pixels):
    """The question mark of a `pixels`-wide glyph, laid out in its pixels:
    a stroke about an eighth of the glyph wide, the stem and the dot on
    whole pixels, only the hook round; as high as at 16 pixels, a half of
    the glyph, and as wide, three eighths."""
    s = pixels / CELL
    w = round(1.9 * s)
    middle = pixels // 2 + w % 2 / 2  # so the stem's edges fall on pixels
    radius = round(3.1 * s)            # the hook's outer edge
    drop = round(0.6 * radius)         # from its middle down to the stem
    stem = max(w, round(1.2 * s))
    gap = max(1, round(0.9 * s))
    height = radius + drop + stem + gap + w
    top = round(8 * s - height / 2)
    cy = top + radius
    stem_top = cy + drop
    dot = stem_top + stem + gap
    r = radius - w / 2
    turn = math.radians(160)
    x_end, y_end = middle + r * math.sin(turn), cy - r * math.cos(turn)
    w, middle, cy, r, stem_top, dot, x_end, y_end = (
        v / s for v in (w, middle, cy, r, stem_top, dot, x_end, y_end))
    half = w / 2
    return union(arc(middle, cy, r, w, 285, 160),
                 segment(x_end, y_end, middle, stem_top + half, w),
                 rect(middle - half, stem_top + half,
                      middle + half, dot - gap / s),
                 rounded_rect(middle - half, dot, middle + half, dot + w,
                              half * 0.6))


def help_glyph():
    if enlarged():
        mark = drawn_question(drawn_size())
    else:
        mark = pixel_glyph(5, 4, QUESTION)
    return [
        (disk(8, 8, 7.2), TEAL_RIM),
        (disk(8, 8, 6.2), vertical(TEAL_LIGHT, TEAL_BOTTOM, 2, 14)),
        (mark, WHITE),
    ]


def check(rows, pixels):
    """List the faults of the written glyph; empty if it is right."""
    pixels = [p for row in rows for p in row]
    faults = []
    if TRANSPARENT not in pixels:
        faults.append("no transparent pixel: the corners must be clear")
    # The question mark, white and whitish where it is smoothed, covers a
    # twentieth of the square at every size.
    light = sum(1 for p in pixels if min(p) >= 200)
    if light * 20 < len(pixels):
        faults.append("only %d light pixels: the question mark is missing"
                      % light)
    return faults


def main(argv):
    folder = output_folder(argv)
    return write_sizes(folder, "helpglyph", CELL, 1,
                       lambda c, pixels: draw(help_glyph, CELL, pixels), check)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
