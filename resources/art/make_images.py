#!/usr/bin/env python3
"""Draw the images of ImageList1 and write them as ../imagelist1.bmp.

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

The pictures share the program icon's palette (see make_icon.py).  They
are drawn procedurally and anti-aliased by supersampling.  A pixel that a
shape only partly covers is blended toward a neutral light grey, never
toward the transparent colour, so no pink fringe shows on a light menu
or tree background; a pixel covered less than COVER_MIN is transparent.

The file is an uncompressed 24-bit BMP (BITMAPINFOHEADER, bottom-up rows)
whose transparent pixels are pure magenta RGB(255, 0, 255): the program
loads it with ImageList_LoadImageA and that mask colour.

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.

The output is deterministic: same script, same bytes.

Usage:  python3 make_images.py [output.bmp]
"""

import os
import struct
import sys

# make_icon.py sits beside this script; importing it must leave no cache
# files in the source tree.
sys.dont_write_bytecode = True
from make_icon import (BOLT, BOLT_ROWS, CAP_EDGE, CAP_FACE_BOTTOM, CAP_FACE_TOP,
                       CAP_SIDE, TEAL_BOTTOM, TEAL_RIM, TEAL_TOP, lerp,
                       pixel_glyph, polygon, rounded_rect, to_byte)

CELL = 16
COUNT = 6

# Subsamples per pixel along each axis.
SS = 8

# A pixel covered by less than this fraction of its samples is transparent.
COVER_MIN = 0.4

TRANSPARENT = (255, 0, 255)
# What partly covered pixels are blended toward: the light grey of a menu
# or tree background, so the edges read as soft there.
NEUTRAL = (238, 240, 240)

# More colours of the images, beside the icon's own.
TEAL_LIGHT = (52, 150, 156)
WHITE = (255, 255, 255)
PAPER = (250, 251, 247)
LINE_GREY = (120, 134, 136)
DIM_FACE = (226, 229, 228)
DIM_BOLT = (112, 124, 124)
RED = (214, 52, 36)
RED_DARK = (150, 24, 14)
RED_RIM = (112, 14, 8)


# --------------------------------------------------------------------------
# Shapes, as in make_icon.py: functions (x, y) -> bool in pixel units of
# one 16x16 cell.

def rect(x0, y0, x1, y1):
    def inside(x, y):
        return x0 <= x < x1 and y0 <= y < y1

    return inside


def disk(cx, cy, r):
    r2 = r * r

    def inside(x, y):
        dx, dy = x - cx, y - cy
        return dx * dx + dy * dy <= r2

    return inside


def union(*shapes):
    def inside(x, y):
        return any(s(x, y) for s in shapes)

    return inside


def both(a, b):
    def inside(x, y):
        return a(x, y) and b(x, y)

    return inside


def vertical(c0, c1, y0, y1):
    """A colour running from c0 at y0 to c1 at y1."""
    def colour(x, y):
        t = (y - y0) / (y1 - y0)
        return lerp(c0, c1, 0.0 if t < 0.0 else (1.0 if t > 1.0 else t))

    return colour


# --------------------------------------------------------------------------
# The pictures.  Each is a list of (shape, colour) layers, bottom first;
# a colour is an RGB tuple or a function (x, y) -> RGB.



def keycap_layers(face_top, face_bottom, bolt_colour):
    """The program's keycap seen from the front, filling the cell."""
    return [
        (rounded_rect(1, 1, 15, 15, 2.5), TEAL_BOTTOM),
        (rounded_rect(2, 2, 14, 14, 1.5), CAP_SIDE),
        (rounded_rect(3, 2, 13, 12, 1.2), vertical(face_top, face_bottom,
                                                   2, 12)),
        (pixel_glyph(4, 3, BOLT_ROWS), bolt_colour),
    ]


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
    return keycap_layers(CAP_FACE_TOP, CAP_FACE_BOTTOM, BOLT)


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
    return [
        (disk(8, 8, 7.3), RED_RIM),
        (disk(8, 8, 6.4), vertical(RED, RED_DARK, 2, 14)),
        (pixel_glyph(4, 4, POWER_ROWS), WHITE),
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
    edge = [row.replace("R", "X").replace("O", "X") for row in SLASH_ROWS]
    red = [row.replace("O", ".").replace("R", "X") for row in SLASH_ROWS]
    cap = rounded_rect(2, 2, 14, 14, 1.5)
    outer = rounded_rect(1, 1, 15, 15, 2.5)
    return keycap_layers(DIM_FACE, (214, 218, 217), DIM_BOLT) + [
        (both(pixel_glyph(1, 1, edge), cap), PAPER),
        (both(pixel_glyph(1, 1, red), outer), RED),
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


# --------------------------------------------------------------------------
# Rendering.

def render(layers, cell=CELL, ss=SS):
    """Return `cell` rows of `cell` RGB tuples, top row first, each pixel sampled
    ss x ss times; nothing drawn (or no layers) is transparent."""
    offsets = [(k + 0.5) / ss for k in range(ss)]
    total = ss * ss
    top_first = list(reversed(layers or []))
    rows = []
    for j in range(cell):
        row = []
        for i in range(cell):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for oy in offsets:
                y = j + oy
                for ox in offsets:
                    x = i + ox
                    for shape, paint in top_first:
                        if shape(x, y):
                            colour = paint(x, y) if callable(paint) else paint
                            covered += 1
                            acc[0] += colour[0]
                            acc[1] += colour[1]
                            acc[2] += colour[2]
                            break
            if covered < total * COVER_MIN:
                row.append(TRANSPARENT)
                continue
            t = covered / total
            row.append(tuple(
                to_byte(acc[k] / total + NEUTRAL[k] * (1.0 - t))
                for k in range(3)))
        rows.append(row)
    return rows


def strip(cells, cell=CELL):
    """Join cell x cell images left to right into one strip of rows."""
    return [sum((c[j] for c in cells), []) for j in range(cell)]


# --------------------------------------------------------------------------
# BMP writing and checking.

def build_bmp(rows):
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack(
        "<IiiHHIIiiII",
        40,             # biSize
        w,              # biWidth
        h,              # biHeight: positive, bottom-up
        1,              # biPlanes
        24,             # biBitCount
        0,              # biCompression = BI_RGB
        len(pixels),    # biSizeImage
        2835, 2835,     # 72 dpi
        0, 0,           # colours used / important
    )
    offset = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + bytes(pixels)


def read_bmp(data):
    """Rows of RGB tuples, top first, from a 24-bit BI_RGB BMP; raises
    ValueError if the file is not one."""
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    if size != len(data):
        raise ValueError("file size field %d, file has %d bytes"
                         % (size, len(data)))
    (hsize, w, h, planes, bits, compression,
     _, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    if hsize != 40:
        raise ValueError("header size %d, not a BITMAPINFOHEADER" % hsize)
    if planes != 1 or bits != 24 or compression != 0 or used != 0:
        raise ValueError("not an uncompressed 24-bit image "
                         "(planes %d, bits %d, compression %d, colours %d)"
                         % (planes, bits, compression, used))
    if w <= 0 or h <= 0:
        raise ValueError("size %d x %d is not a bottom-up image" % (w, h))
    stride = (w * 3 + 3) & ~3
    if offset < 54 or offset + stride * h != len(data):
        raise ValueError("pixel data does not fill the file")
    rows = []
    for j in range(h):
        base = offset + (h - 1 - j) * stride
        rows.append([(data[base + 3 * i + 2], data[base + 3 * i + 1],
                      data[base + 3 * i]) for i in range(w)])
    return rows


def magenta_ish(rgb):
    """A colour that reads as pink or purple: red and blue both well
    above green."""
    r, g, b = rgb
    return r - g > 48 and b - g > 48


def check(path):
    """List the faults of the written strip; empty if it is right."""
    rows, faults = read_sized(path, CELL * COUNT, CELL)
    if faults:
        return faults
    faults = []
    cells = []
    for c in range(COUNT):
        cell = tuple(tuple(rows[j][c * CELL + i] for i in range(CELL))
                     for j in range(CELL))
        cells.append(cell)
        pixels = [p for line in cell for p in line]
        clear = sum(1 for p in pixels if p == TRANSPARENT)
        if clear == 0:
            faults.append("image %d has no transparent pixel" % c)
        if clear == len(pixels):
            faults.append("image %d is empty" % c)
        odd = sorted({p for p in pixels
                      if p != TRANSPARENT and magenta_ish(p)})
        if odd:
            faults.append("image %d has magenta-like colours %s"
                          % (c, odd[:4]))
    for a in range(COUNT):
        for b in range(a + 1, COUNT):
            if cells[a] == cells[b]:
                faults.append("images %d and %d are the same" % (a, b))
    return faults


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    target = argv[1] if len(argv) > 1 else os.path.join(here, "..",
                                                         "imagelist1.bmp")
    cells = [render(picture()) for picture in PICTURES]
    return write_checked(target, build_bmp(strip(cells)), check)


def read_sized(path, width, height):
    """The rows of the BMP at `path` and no faults, or no rows and the faults
    that keep it from being a `width` x `height` picture."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        rows = read_bmp(data)
    except ValueError as e:
        return None, [str(e)]
    if (len(rows[0]), len(rows)) != (width, height):
        return None, ["size %d x %d, expected %d x %d"
                      % (len(rows[0]), len(rows), width, height)]
    return rows, []


def write_checked(target, data, check):
    """Writes the file, then reads it back through `check`: 0, or 1 with its faults."""
    with open(target, "wb") as f:
        f.write(data)
    faults = check(target)
    for fault in faults:
        print("%s: %s" % (os.path.normpath(target), fault), file=sys.stderr)
    if faults:
        return 1
    print("wrote %s (%d bytes)" % (os.path.normpath(target), len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
