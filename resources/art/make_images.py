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

The pictures share the program icon's palette (see make_icon.py).  They
are drawn procedurally and anti-aliased by supersampling.  A pixel that a
shape only partly covers is blended toward a neutral light grey, never
toward the transparent colour, so no pink fringe shows on a light menu
or tree background; a pixel covered less than COVER_MIN is transparent.

Every picture is drawn again for screens of 120, 144 and 192 DPI, at the
sizes the program scales it to there: imagelist1_20.bmp, imagelist1_24.bmp
and imagelist1_32.bmp, with cells of 20, 24 and 32 pixels.  The same shapes
are drawn larger, not stretched: straight edges are moved onto whole pixels
of each size so they stay crisp (see fit_span), and what is laid out in
whole pixels at 16 (the bolt, the power sign, the stroke) is drawn as
smooth shapes.  The other art scripts draw their pictures the same way,
with what this one shares.

imagelist1.bmp is an uncompressed 24-bit BMP (BITMAPINFOHEADER, bottom-up
rows) whose transparent pixels are pure magenta RGB(255, 0, 255): the
program makes an image list of it with that mask colour.  The larger ones
are 8-bit run-length encoded BMPs with a colour table (see rle8), about a
ninth of the size; a picture of more than 256 colours gets the 256 nearest
(see palette), and magenta keeps an entry that no other colour shares.

After writing, the script reads each file back and checks it; it exits
non-zero if a file is not what the program expects.

The output is deterministic: same script, same bytes.

Usage:  python3 make_images.py [output-folder]
"""

import contextlib
import math
import os
import struct
import sys

# make_icon.py sits beside this script; importing it must leave no cache
# files in the source tree.
sys.dont_write_bytecode = True
import make_icon
from make_icon import (BOLT, BOLT_EDGE, BOLT_ROWS, CAP_EDGE, CAP_FACE_BOTTOM,
                       CAP_FACE_TOP, CAP_SIDE, TEAL_BOTTOM, TEAL_RIM, TEAL_TOP,
                       bolt_points, lerp, offset_polygon, pixel_glyph, to_byte)

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
DIM_BOLT_EDGE = (78, 88, 88)
RED = (214, 52, 36)
RED_DARK = (150, 24, 14)
RED_RIM = (112, 14, 8)


# --------------------------------------------------------------------------
# Sizes.  Every picture is drawn for screens of 96, 120, 144 and 192 DPI,
# each time for its own size there: its size at 96 DPI scaled as the
# program scales it (MulDiv, halves rounded up).  The file drawn for 96 DPI
# keeps its plain name; the others add their size: imagelist1_24.bmp is
# ImageList1 drawn 24 pixels high, for 144 DPI.

DPIS = (96, 120, 144, 192)


def size_at(base, dpi):
    return (base * dpi + 48) // 96


def file_name(stem, base, dpi):
    if dpi == 96:
        return stem + ".bmp"
    return "%s_%d.bmp" % (stem, size_at(base, dpi))


# The grid a picture is drawn on: its shapes are written in units of its
# size at 96 DPI, `cell` of them across, and drawn `pixels` pixels across.
_GRID = {"cell": CELL, "pixels": CELL}


@contextlib.contextmanager
def drawn_on(cell, pixels):
    saved = dict(_GRID)
    _GRID.update(cell=cell, pixels=pixels)
    try:
        yield
    finally:
        _GRID.update(saved)


def enlarged():
    """Whether the picture being drawn is larger than at 96 DPI, where the
    glyphs laid out in whole pixels give way to drawn ones."""
    return _GRID["pixels"] != _GRID["cell"]


def drawn_size():
    """How many pixels across the picture being drawn is."""
    return _GRID["pixels"]


def _to_pixel(p, half):
    """p (pixels from the middle) moved to a whole pixel, halves away from
    the middle, so that what is symmetric about the middle stays so."""
    return half + math.copysign(math.floor(abs(p - half) + 0.5), p - half)


def fit_span(a, b):
    """The edges a < b of a straight-edged shape, moved onto pixel edges
    when the picture is enlarged, so its edges stay crisp.  A span of one
    unit or less is a line: it keeps the thickness it scales to (a pixel
    at least) wherever it falls."""
    if not enlarged():
        return a, b
    s = _GRID["pixels"] / _GRID["cell"]
    half = _GRID["pixels"] / 2
    if b - a > 1:
        return _to_pixel(a * s, half) / s, _to_pixel(b * s, half) / s
    thick = max(1, math.floor((b - a) * s + 0.5))
    start = _to_pixel((a + b) / 2 * s - thick / 2, half)
    return start / s, (start + thick) / s


# --------------------------------------------------------------------------
# Shapes, as in make_icon.py: functions (x, y) -> bool in units of the
# picture at 96 DPI (pixels of one 16x16 cell here).

def rect(x0, y0, x1, y1):
    x0, x1 = fit_span(x0, x1)
    y0, y1 = fit_span(y0, y1)

    def inside(x, y):
        return x0 <= x < x1 and y0 <= y < y1

    return inside


def polygon(points, fitted=True):
    """A polygon; when the picture is enlarged its corners move onto pixel
    corners, so its straight edges stay crisp (not for curvy shapes such as
    the bolt: `fitted` False)."""
    if fitted and enlarged():
        s = _GRID["pixels"] / _GRID["cell"]
        half = _GRID["pixels"] / 2
        points = [(_to_pixel(x * s, half) / s, _to_pixel(y * s, half) / s)
                  for x, y in points]
    return make_icon.polygon(points)


def rounded_rect(x0, y0, x1, y1, r):
    x0, x1 = fit_span(x0, x1)
    y0, y1 = fit_span(y0, y1)
    return make_icon.rounded_rect(x0, y0, x1, y1, r)


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


def minus(a, b):
    def inside(x, y):
        return a(x, y) and not b(x, y)

    return inside


def ring(cx, cy, r_out, r_in):
    return minus(disk(cx, cy, r_out), disk(cx, cy, r_in))


def segment(x0, y0, x1, y1, width):
    """A straight stroke with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    r2 = (width / 2.0) ** 2

    def inside(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / length2
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        ex, ey = x - (x0 + t * dx), y - (y0 + t * dy)
        return ex * ex + ey * ey <= r2

    return inside


def stroke(points, width):
    """A line through the points, with round joins and ends."""
    return union(*(segment(a[0], a[1], b[0], b[1], width)
                   for a, b in zip(points, points[1:])))


def arc(cx, cy, r, width, start, end):
    """A stroke along the circle of radius r, round ended, from angle
    `start` clockwise to `end`; angles in degrees clockwise from the top."""
    def at(a):
        t = math.radians(a)
        return cx + r * math.sin(t), cy - r * math.cos(t)

    sweep = (end - start) % 360
    half = width / 2.0

    def along(x, y):
        dx, dy = x - cx, y - cy
        if abs(math.hypot(dx, dy) - r) > half:
            return False
        return (math.degrees(math.atan2(dx, -dy)) - start) % 360 <= sweep

    (x0, y0), (x1, y1) = at(start), at(end)
    return union(along, disk(x0, y0, half), disk(x1, y1, half))


def vertical(c0, c1, y0, y1):
    """A colour running from c0 at y0 to c1 at y1."""
    def colour(x, y):
        t = (y - y0) / (y1 - y0)
        return lerp(c0, c1, 0.0 if t < 0.0 else (1.0 if t > 1.0 else t))

    return colour


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


# --------------------------------------------------------------------------
# Rendering.

def render(layers, cell=CELL, ss=SS, pixels=None):
    """Return rows of RGB tuples, top row first, for a picture `cell` units
    across drawn `pixels` across (as many as units if not given), each pixel
    sampled ss x ss times; nothing drawn (or no layers) is transparent."""
    pixels = pixels or cell
    scale = pixels / cell
    offsets = [(k + 0.5) / ss for k in range(ss)]
    total = ss * ss
    top_first = list(reversed(layers or []))
    rows = []
    for j in range(pixels):
        row = []
        for i in range(pixels):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for oy in offsets:
                y = (j + oy) / scale
                for ox in offsets:
                    x = (i + ox) / scale
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


def draw(picture, cell, pixels, ss=SS):
    """A picture (a function giving its layers, or None for an empty image)
    drawn `pixels` across, its shapes fitted to that grid."""
    with drawn_on(cell, pixels):
        return render(picture() if picture else None, cell, ss, pixels)


def strip(cells):
    """Join square images left to right into one strip of rows."""
    return [sum((c[j] for c in cells), []) for j in range(len(cells[0]))]


def cells_of(rows, count):
    """The square images of a strip, each as a flat list of pixels."""
    n = len(rows)
    return [[rows[j][c * n + i] for j in range(n) for i in range(n)]
            for c in range(count)]


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


BI_RLE8 = 1


def rle8(rows):
    """Rows of colour indices (top first) run-length encoded as BI_RLE8, the
    bottom row first: a run of one index is a count and the index; other
    stretches of three or more go as they are (an escape, their length,
    the indices, padded to an even length); each row ends with 0 0 and the
    image with 0 1.  The strips are mostly one clear colour, so they shrink
    to about a third."""
    out = bytearray()
    for row in reversed(rows):
        i, n = 0, len(row)
        while i < n:
            run = 1
            while i + run < n and run < 255 and row[i + run] == row[i]:
                run += 1
            if run >= 2:
                out += bytes((run, row[i]))
                i += run
                continue
            end = i + 1
            while (end < n and end - i < 255
                   and not (end + 1 < n and row[end] == row[end + 1])):
                end += 1
            if end - i < 3:
                for v in row[i:end]:
                    out += bytes((1, v))
            else:
                out += bytes((0, end - i)) + bytes(row[i:end])
                if (end - i) % 2:
                    out += b"\0"
            i = end
        out += b"\0\0"
    out += b"\0\1"
    return bytes(out)


def unrle8(data, w, h):
    """Rows of colour indices (top first) from BI_RLE8 data; raises
    ValueError where the data does not make exactly a w x h image."""
    rows, row, k = [], [], 0
    while True:
        if k + 2 > len(data):
            raise ValueError("run-length data ends without its end mark")
        count, value = data[k], data[k + 1]
        k += 2
        if count:
            row += [value] * count
        elif value == 1 and not row and rows:
            break  # the end mark after the last row's own end
        elif value == 0 or value == 1:
            if len(row) != w:
                raise ValueError("a row of %d pixels, not %d" % (len(row), w))
            rows.append(row)
            row = []
            if value == 1:
                break
        elif value == 2:
            raise ValueError("a jump in the run-length data")
        else:
            row += list(data[k:k + value])
            k += value + value % 2
    if len(rows) != h or k != len(data):
        raise ValueError("run-length data makes %d rows, not %d" % (len(rows), h))
    return list(reversed(rows))


def build_bmp8(rows):
    """The rows as an 8-bit run-length encoded BMP with a colour table:
    their own colours if there are 256 at most, else the nearest of 256
    chosen for them (see palette).  Transparent pixels keep their exact
    colour."""
    table, index = palette(rows)
    h = len(rows)
    w = len(rows[0])
    pixels = rle8([[index[p] for p in row] for row in rows])
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in table)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, BI_RLE8, len(pixels),
                       2835, 2835, len(table), 0)
    offset = 14 + len(info) + len(colours)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + colours + bytes(pixels)


def _distance(a, b):
    return ((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1])
            + (a[2] - b[2]) * (a[2] - b[2]))


def _nearest(colour, table):
    return min(range(len(table)), key=lambda k: _distance(colour, table[k]))


def palette(rows):
    """A colour table for the rows and each colour's index in it.  With more
    than 256 colours the table is made by median cut (weighted by how often
    a colour is used, so large plain areas keep their exact colour) and
    refined by a few rounds of moving each entry to the mean of the colours
    it stands for.  The transparent colour keeps an entry of its own, and no
    other colour is given that entry."""
    counts = {}
    for row in rows:
        for p in row:
            counts[p] = counts.get(p, 0) + 1
    colours = sorted(counts)
    if len(colours) <= 256:
        return colours, {c: k for k, c in enumerate(colours)}
    clear = [TRANSPARENT] if TRANSPARENT in counts else []
    drawn = [c for c in colours if c != TRANSPARENT]
    boxes = [drawn]
    while len(boxes) < 256 - len(clear):
        def spread(box):
            return max(max(c[k] for c in box) - min(c[k] for c in box)
                       for k in range(3))
        widest = max(range(len(boxes)), key=lambda b: spread(boxes[b]))
        box = boxes[widest]
        if len(box) < 2:
            break
        axis = max(range(3), key=lambda k: max(c[k] for c in box)
                   - min(c[k] for c in box))
        box = sorted(box, key=lambda c: (c[axis], c))
        weight = sum(counts[c] for c in box)
        run, cut = 0, 1
        for cut in range(1, len(box)):
            run += counts[box[cut - 1]]
            if run * 2 >= weight:
                break
        boxes[widest:widest + 1] = [box[:cut], box[cut:]]

    def mean(members):
        weight = sum(counts[c] for c in members)
        return tuple(to_byte(sum(c[k] * counts[c] for c in members) / weight)
                     for k in range(3))

    table = [mean(box) for box in boxes]
    for _ in range(3):
        members = [[] for _ in table]
        for c in drawn:
            members[_nearest(c, table)].append(c)
        table = [mean(m) if m else t for m, t in zip(members, table)]
    index = {c: len(clear) + _nearest(c, table) for c in drawn}
    if clear:
        index[TRANSPARENT] = 0
    return clear + table, index


def read_bmp(data):
    """Rows of RGB tuples, top first, from an uncompressed 24-bit or an
    8-bit (plain or run-length encoded) BMP; raises ValueError if the file
    is not one."""
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
    table = []
    if planes == 1 and bits == 8 and 0 < used <= 256:
        table = [(data[54 + 4 * k + 2], data[54 + 4 * k + 1], data[54 + 4 * k])
                 for k in range(used)]
    elif planes != 1 or bits != 24 or used != 0:
        raise ValueError("not a 24-bit or 8-bit image "
                         "(planes %d, bits %d, colours %d)"
                         % (planes, bits, used))
    if compression != 0 and not (table and compression == BI_RLE8):
        raise ValueError("compressed (compression %d)" % compression)
    if w <= 0 or h <= 0:
        raise ValueError("size %d x %d is not a bottom-up image" % (w, h))
    if offset != 54 + 4 * len(table):
        raise ValueError("pixel data does not follow the header")
    if compression == BI_RLE8:
        indices = unrle8(data[offset:], w, h)
        if max(max(r) for r in indices) >= len(table):
            raise ValueError("a colour outside the table")
        return [[table[v] for v in r] for r in indices]
    stride = (w * bits // 8 + 3) & ~3
    if offset + stride * h != len(data):
        raise ValueError("pixel data does not fill the file")
    rows = []
    for j in range(h):
        base = offset + (h - 1 - j) * stride
        if table:
            if max(data[base:base + w]) >= len(table):
                raise ValueError("row %d has a colour outside the table" % j)
            rows.append([table[v] for v in data[base:base + w]])
        else:
            rows.append([(data[base + 3 * i + 2], data[base + 3 * i + 1],
                          data[base + 3 * i]) for i in range(w)])
    return rows


def magenta_ish(rgb):
    """A colour that reads as pink or purple: red and blue both well
    above green."""
    r, g, b = rgb
    return r - g > 48 and b - g > 48


# How far the colours of an 8-bit file may be from the colours drawn: any
# pixel on any of red, green and blue, and all of them on average.
PALETTE_WORST = 32
PALETTE_MEAN = 2.0


def drawing_faults(rows, drawn):
    """How the written rows differ from the drawn ones: not at all for a
    24-bit file or a drawing of 256 colours at most; else the colours are
    near the drawn ones, and the transparent colour is where it was drawn
    and nowhere else."""
    if len({p for row in drawn for p in row}) <= 256:
        return [] if rows == drawn else ["the pixels differ from the drawing"]
    faults = []
    worst = total = 0
    for j, (got, want) in enumerate(zip(rows, drawn)):
        for i, (p, q) in enumerate(zip(got, want)):
            if (p == TRANSPARENT) != (q == TRANSPARENT):
                faults.append("pixel (%d, %d) is %s, drawn %s" % (i, j, p, q))
            off = max(abs(p[k] - q[k]) for k in range(3))
            worst = max(worst, off)
            total += off
    if worst > PALETTE_WORST:
        faults.append("a colour is %d away from the one drawn" % worst)
    mean = total / (len(drawn) * len(drawn[0]))
    if mean > PALETTE_MEAN:
        faults.append("the colours are %.1f away from those drawn on average"
                      % mean)
    return faults[:4]


def strip_faults(rows, count, first=0):
    """Faults of a strip of `count` square images, image `first` on: each
    has transparent pixels and drawn ones, none of them pink, and no two
    are the same."""
    cells = cells_of(rows, count)
    faults = []
    for c in range(first, count):
        clear = cells[c].count(TRANSPARENT)
        if clear == 0:
            faults.append("image %d has no transparent pixel" % c)
        if clear == len(cells[c]):
            faults.append("image %d is empty" % c)
        odd = sorted({p for p in cells[c]
                      if p != TRANSPARENT and magenta_ish(p)})
        if odd:
            faults.append("image %d has magenta-like colours %s"
                          % (c, odd[:4]))
    for a in range(first, count):
        for b in range(a + 1, count):
            if cells[a] == cells[b]:
                faults.append("images %d and %d are the same" % (a, b))
    return faults


def write_sizes(folder, stem, base, count, draw_cell, check, eight_bit=False):
    """Draws a strip of `count` images, `base` pixels square at 96 DPI, at
    every DPI; writes each (24-bit at 96 DPI, 8-bit above it if `eight_bit`)
    and checks it: check(rows, pixels) lists a strip's faults.  0, or 1
    when a file is wrong."""
    for dpi in DPIS:
        pixels = size_at(base, dpi)
        drawn = strip([draw_cell(c, pixels) for c in range(count)])
        palettised = eight_bit and dpi != 96
        data = build_bmp8(drawn) if palettised else build_bmp(drawn)

        def faults(path):
            rows, found = read_sized(path, pixels * count, pixels)
            return found or drawing_faults(rows, drawn) or check(rows, pixels)

        target = os.path.join(folder, file_name(stem, base, dpi))
        if write_checked(target, data, faults):
            return 1
    return 0


def check(rows, pixels):
    return strip_faults(rows, COUNT)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[1] if len(argv) > 1 else os.path.join(here, "..")
    return write_sizes(folder, "imagelist1", CELL, COUNT,
                       lambda c, pixels: draw(PICTURES[c], CELL, pixels),
                       check, eight_bit=True)


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
