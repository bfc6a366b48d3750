#!/usr/bin/env python3
"""Draw the images of ImageList1 and write them as ../imagelist1.bmp and
its larger sizes.

ImageList1 holds the small pictures of the definitions tree and of the
OstrelMenu, six 16x16 images side by side in one 96x16 strip:

  0  group        an open teal folder with a sheet of definitions in it
  1  definition   the program's keycap with its orange bolt
                  (also beside "HotKeys On")
  2  Show...      the configuration window: teal title bar, a little
                  tree of definitions in it
  3  Terminate    a red round button with a white power sign
  4  HotKeys Off  the keycap with its bolt greyed out, struck through
                  in red
  5  Hide Menu    a popup menu with a teal arrow pointing down: put it away

The pictures share the program icon's palette and are drawn, anti-aliased
and written as artlib.py describes.  Every picture is drawn again for
screens of 120, 144 and 192 DPI, at the sizes the program scales it to
there: imagelist1_20.bmp, imagelist1_24.bmp and imagelist1_32.bmp, with
cells of 20, 24 and 32 pixels, 8-bit with a colour table.  What is laid
out in whole pixels at 16 (the bolt, the power sign, the stroke) is drawn
as smooth shapes there.

After writing, the script reads each file back and checks it; it exits
non-zero if a file is not what the program expects.

The output is deterministic: same script, same bytes.

Usage:  python3 make_images.py [output-folder]
"""

import sys

# artlib.py sits beside this script; importing it must leave no cache files
# in the source tree.
sys.dont_write_bytecode = True
from artlib import (BOLT, BOLT_EDGE, BOLT_ROWS, CAP_EDGE, CAP_FACE_BOTTOM,
                    CAP_FACE_TOP, CAP_SIDE, CELL, LINE_GREY, PAPER, RED,
                    RED_DARK, TEAL_BOTTOM, TEAL_LIGHT, TEAL_RIM, TEAL_TOP,
                    WHITE, arc, bolt_points, both, disk, draw, enlarged,
                    offset_polygon, output_folder, pixel_glyph, polygon, rect,
                    rounded_rect, segment, strip_faults, union, vertical,
                    write_sizes)

COUNT = 6

# More colours of the images, beside the shared ones.
DIM_FACE = (226, 229, 228)
DIM_BOLT = (112, 124, 124)
DIM_BOLT_EDGE = (78, 88, 88)
RED_RIM = (112, 14, 8)


# --------------------------------------------------------------------------
# The pictures.  Each is a list of (shape, colour) layers, bottom first;
# a colour is an RGB tuple or a function (x, y) -> RGB.


def keycap_layers(face_top, face_bottom, bolt_colour, bolt_edge):
    """The program's keycap seen from the front, filling the cell.  At 16
    pixels the bolt is laid out in whole pixels; larger, it is drawn as the
    icon draws it, with an edge."""
    if enlarged():
        points = bolt_points(4.25, 3.0, 7.5, 9.0)
        bolt = [(polygon(offset_polygon(points, 0.45), False), bolt_edge),
                (polygon(points, False), bolt_colour)]
    else:
        bolt = [(pixel_glyph(4, 3, BOLT_ROWS), bolt_colour)]
    return [
        (rounded_rect(1, 1, 15, 15, 2.5), TEAL_BOTTOM),
        (rounded_rect(2, 2, 14, 14, 1.5), CAP_SIDE),
        (rounded_rect(3, 2, 13, 12, 1.2), vertical(face_top, face_bottom,
                                                   2, 12)),
    ] + bolt


def group():
    back = union(rounded_rect(1, 1, 8, 5, 1.0),
                 rounded_rect(1, 3, 15, 14, 1.0))
    front = polygon([(3.6, 6.5), (15.6, 6.5), (13.4, 14.0), (0.4, 14.0)])
    front_fill = polygon([(4.4, 7.5), (14.3, 7.5), (12.6, 13.0), (1.7, 13.0)])
    return [
        (back, TEAL_RIM),
        (union(rect(2, 2, 7, 4), rect(2, 4, 14, 13)), TEAL_BOTTOM),
        # The definitions in it, as a sheet sticking out.
        (rect(4, 4, 13, 8), PAPER),
        (rect(5, 5, 10, 6), LINE_GREY),
        (front, TEAL_RIM),
        (front_fill, vertical(TEAL_LIGHT, TEAL_TOP, 7.5, 13)),
    ]


def definition():
    return keycap_layers(CAP_FACE_TOP, CAP_FACE_BOTTOM, BOLT, BOLT_EDGE)


def show():
    return [
        (rect(1, 1, 15, 15), TEAL_RIM),
        (rect(2, 2, 14, 4), TEAL_TOP),
        (rect(11, 2, 13, 3), PAPER),
        (rect(2, 4, 14, 14), PAPER),
        # A small tree: a group with two definitions under it.
        (rect(3, 5, 5, 7), TEAL_TOP),
        (rect(6, 5, 12, 6), LINE_GREY),
        (rect(4, 7, 5, 12), LINE_GREY),
        (rect(5, 8, 6, 9), LINE_GREY),
        (rect(5, 11, 6, 12), LINE_GREY),
        (rect(6, 8, 8, 10), BOLT),
        (rect(9, 8, 13, 9), LINE_GREY),
        (rect(6, 11, 8, 13), BOLT),
        (rect(9, 11, 12, 12), LINE_GREY),
    ]


# The power sign, in whole pixels so it stays crisp on the red.
POWER_ROWS = [
    "...XX...",
    ".X.XX.X.",
    "XX.XX.XX",
    "X..XX..X",
    "X......X",
    "XX....XX",
    ".XX..XX.",
    "..XXXX..",
]


def terminate():
    if enlarged():
        sign = union(arc(8, 8.5, 2.9, 1.3, 40, 320),
                     segment(8, 4.7, 8, 8.3, 1.4))
    else:
        sign = pixel_glyph(4, 4, POWER_ROWS)
    return [
        (disk(8, 8, 7.3), RED_RIM),
        (disk(8, 8, 6.4), vertical(RED, RED_DARK, 2, 14)),
        (sign, WHITE),
    ]


# A stroke from the keycap's top-left corner to its bottom-right one,
# in whole pixels: red, with a light edge to lift it off the cap.
SLASH_ROWS = [
    "RRRO...........",
    "ORRRO..........",
    ".ORRRO.........",
    "..ORRRO........",
    "...ORRRO.......",
    "....ORRRO......",
    ".....ORRRO.....",
    "......ORRRO....",
    ".......ORRRO...",
    "........ORRRO..",
    ".........ORRRO.",
    "..........ORRRO",
    "...........ORRR",
]


def hotkeys_off():
    if enlarged():
        # The stroke's middle runs along x = y + 1, as the pixels' do.
        edge = segment(1.5, 0.5, 15.5, 14.5, 3.5)
        red = segment(1.5, 0.5, 15.5, 14.5, 2.1)
    else:
        edge = pixel_glyph(1, 1, [row.replace("R", "X").replace("O", "X")
                                  for row in SLASH_ROWS])
        red = pixel_glyph(1, 1, [row.replace("O", ".").replace("R", "X")
                                 for row in SLASH_ROWS])
    cap = rounded_rect(2, 2, 14, 14, 1.5)
    outer = rounded_rect(1, 1, 15, 15, 2.5)
    return keycap_layers(DIM_FACE, (214, 218, 217), DIM_BOLT, DIM_BOLT_EDGE) + [
        (both(edge, cap), PAPER),
        (both(red, outer), RED),
    ]


def hide_menu():
    return [
        # The popup menu.
        (rect(1, 1, 11, 13), CAP_EDGE),
        (rect(2, 2, 10, 12), PAPER),
        (rect(3, 3, 9, 4), LINE_GREY),
        (rect(2, 5, 10, 8), TEAL_TOP),
        (rect(3, 6, 9, 7), PAPER),
        (rect(3, 9, 8, 10), LINE_GREY),
        # An arrow pointing down, over the menu's corner.
        (polygon([(9.0, 6.0), (14.0, 6.0), (14.0, 10.0), (16.0, 10.0),
                  (11.5, 15.5), (7.0, 10.0), (9.0, 10.0)]), PAPER),
        (polygon([(10.0, 7.0), (13.0, 7.0), (13.0, 11.0), (14.5, 11.0),
                  (11.5, 14.5), (8.5, 11.0), (10.0, 11.0)]), TEAL_TOP),
    ]


PICTURES = [group, definition, show, terminate, hotkeys_off, hide_menu]


def check(rows, pixels):
    return strip_faults(rows, COUNT)


def main(argv):
    return write_sizes(output_folder(argv), "imagelist1", CELL, COUNT,
                       lambda c, pixels: draw(PICTURES[c], CELL, pixels),
                       check, eight_bit=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
