"""What the art scripts share: the palette, the grid of sizes, the shapes,
the supersampling, and the writing, reading and checking of BMP and ICO
files.  Each make_*.py script draws its own pictures with it.

Pictures are drawn procedurally with plain Python (nothing outside the
standard library) and anti-aliased by supersampling.  A pixel that a shape
only partly covers is blended toward a neutral light grey, never toward the
transparent colour, so no pink fringe shows on a light menu or tree
background; a pixel covered less than COVER_MIN is transparent.

Every picture is drawn for screens of 96, 120, 144 and 192 DPI, at the size
the program scales it to there.  The same shapes are drawn larger, not
stretched: straight edges are moved onto whole pixels of each size so they
stay crisp (see fit_span).

A strip for 96 DPI is an uncompressed 24-bit BMP (BITMAPINFOHEADER,
bottom-up rows) whose transparent pixels are pure magenta RGB(255, 0, 255):
the program makes an image list of it with that mask colour.  The larger
ones may be 8-bit run-length encoded BMPs with a colour table (see rle8),
about a ninth of the size; a picture of more than 256 colours gets the 256
nearest (see palette), and magenta keeps an entry that no other colour
shares.

Every file is read back and checked after it is written (write_checked).
The output is deterministic: same script, same bytes.
"""

import contextlib
import math
import os
import struct
import sys

# --------------------------------------------------------------------------
# Palette (sRGB, 0..255): the program icon's colours, which every picture
# shares, then those the small pictures add.

TEAL_TOP = (20, 112, 120)
TEAL_BOTTOM = (8, 70, 80)
TEAL_RIM = (4, 44, 52)
SHADOW = (2, 30, 36)
CAP_FACE_TOP = (250, 251, 247)
CAP_FACE_BOTTOM = (228, 234, 231)
CAP_SIDE = (170, 186, 186)
CAP_EDGE = (88, 108, 110)
BOLT = (255, 140, 26)
BOLT_EDGE = (176, 72, 0)

TRANSPARENT = (255, 0, 255)
# What partly covered pixels are blended toward: the light grey of a menu
# or tree background, so the edges read as soft there.
NEUTRAL = (238, 240, 240)

TEAL_LIGHT = (52, 150, 156)
WHITE = (255, 255, 255)
PAPER = (250, 251, 247)
LINE_GREY = (120, 134, 136)
RED = (214, 52, 36)
RED_DARK = (150, 24, 14)

# The 16x16 bolt in whole pixels: at this size a smooth bolt turns to orange mush.
BOLT_ROWS = [
    "....XXX.",
    "...XXX..",
    "..XXX...",
    ".XXXXXX.",
    ".XXXXX..",
    "...XXX..",
    "...XX...",
    "..XX....",
    "..X.....",
]


def lerp(a, b, t):
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(3))


def to_byte(v):
    v = int(v + 0.5)
    return 0 if v < 0 else (255 if v > 255 else v)


# The size of the small pictures at 96 DPI, in pixels: a cell of a strip.
CELL = 16

# Subsamples per pixel along each axis.
SS = 8

# A pixel covered by less than this fraction of its samples is transparent.
COVER_MIN = 0.4


# --------------------------------------------------------------------------
# Sizes.  Each picture is drawn for screens of 96, 120, 144 and 192 DPI,
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
# Shapes: functions (x, y) -> bool in units of the picture at 96 DPI, where
# (0, 0) is its top-left corner and pixel (i, j) covers [i, i+1) x [j, j+1).
# The program icon is drawn at its own size, outside drawn_on, so nothing
# moves its shapes onto a grid.

def rect(x0, y0, x1, y1):
    x0, x1 = fit_span(x0, x1)
    y0, y1 = fit_span(y0, y1)

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


def rounded_rect(x0, y0, x1, y1, r):
    """An axis-aligned rectangle with corner radius r, its sides fitted to
    the grid as a rect's are."""
    x0, x1 = fit_span(x0, x1)
    y0, y1 = fit_span(y0, y1)
    r2 = r * r
    ix0, iy0, ix1, iy1 = x0 + r, y0 + r, x1 - r, y1 - r

    def inside(x, y):
        if x < x0 or x >= x1 or y < y0 or y >= y1:
            return False
        dx = ix0 - x if x < ix0 else (x - ix1 if x > ix1 else 0.0)
        dy = iy0 - y if y < iy0 else (y - iy1 if y > iy1 else 0.0)
        return dx * dx + dy * dy <= r2

    return inside


def polygon(points, fitted=True):
    """A closed polygon, inside by the even-odd rule.  When the picture is
    enlarged its corners move onto pixel corners, so its straight edges stay
    crisp (not for curvy shapes such as the bolt: `fitted` False)."""
    if fitted and enlarged():
        s = _GRID["pixels"] / _GRID["cell"]
        half = _GRID["pixels"] / 2
        points = [(_to_pixel(x * s, half) / s, _to_pixel(y * s, half) / s)
                  for x, y in points]
    pts = list(points)
    edges = []
    for k in range(len(pts)):
        ax, ay = pts[k]
        bx, by = pts[(k + 1) % len(pts)]
        if ay != by:
            edges.append((ax, ay, bx, by))
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    bx0, bx1, by0, by1 = min(xs), max(xs), min(ys), max(ys)

    def inside(x, y):
        if x < bx0 or x > bx1 or y < by0 or y > by1:
            return False
        hit = False
        for ax, ay, cx, cy in edges:
            if (ay > y) != (cy > y):
                xc = ax + (y - ay) * (cx - ax) / (cy - ay)
                if x < xc:
                    hit = not hit
        return hit

    return inside


def pixel_glyph(col0, row0, rows):
    """Inside test for a pixel pattern ('X' = filled) placed on the grid."""
    def inside(x, y):
        j = int(y) - row0
        i = int(x) - col0
        return (0 <= j < len(rows) and 0 <= i < len(rows[j])
                and rows[j][i] == "X")

    return inside


def nowhere(x, y):
    return False


def offset_polygon(points, d):
    """Grow a polygon by d (mitred), for outlining the bolt."""
    pts = list(points)
    n = len(pts)
    # Orientation: positive area means clockwise in y-down coordinates.
    area = 0.0
    for k in range(n):
        ax, ay = pts[k]
        bx, by = pts[(k + 1) % n]
        area += ax * by - bx * ay
    sign = 1.0 if area > 0 else -1.0
    out = []
    for k in range(n):
        px, py = pts[k - 1]
        cx, cy = pts[k]
        nx_, ny_ = pts[(k + 1) % n]
        # Outward normals of the two edges meeting at this corner.
        n1 = _outward(px, py, cx, cy, sign)
        n2 = _outward(cx, cy, nx_, ny_, sign)
        mx, my = n1[0] + n2[0], n1[1] + n2[1]
        dot = n1[0] * n2[0] + n1[1] * n2[1]
        scale = d / (1.0 + dot) if dot > -0.9 else d
        # Clamp very sharp mitres so the tips don't shoot out.
        limit = 2.2 * d
        ox, oy = mx * scale, my * scale
        length = (ox * ox + oy * oy) ** 0.5
        if length > limit:
            ox, oy = ox * limit / length, oy * limit / length
        out.append((cx + ox, cy + oy))
    return out


def _outward(ax, ay, bx, by, sign):
    dx, dy = bx - ax, by - ay
    length = (dx * dx + dy * dy) ** 0.5
    # With a positive shoelace sum (clockwise on screen, y pointing
    # down) the outside lies to the left of each edge: (dy, -dx).
    return (dy / length * sign, -dx / length * sign)


def bolt_points(x, y, w, h):
    """A lightning bolt fitted to the box (x, y, w, h)."""
    shape = [
        (0.58, 0.00),
        (0.10, 0.58),
        (0.44, 0.58),
        (0.30, 1.00),
        (0.90, 0.40),
        (0.55, 0.40),
        (0.80, 0.00),
    ]
    return [(x + u * w, y + v * h) for u, v in shape]


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


# --------------------------------------------------------------------------
# ICO writing.  Each entry is a 32-bit BI_RGB DIB: BITMAPINFOHEADER with
# doubled height, bottom-up BGRA pixels, then a 1-bit AND mask (set where
# the pixel is fully transparent), rows padded to 4 bytes.

def dib_entry(rows):
    h = len(rows)
    w = len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i, px in enumerate(row):
            if px[3] == 0:
                line[i >> 3] |= 0x80 >> (i & 7)
        mask += line
    header = struct.pack(
        "<IiiHHIIiiII",
        40,                 # biSize
        w,                  # biWidth
        h * 2,              # biHeight: XOR image + AND mask
        1,                  # biPlanes
        32,                 # biBitCount
        0,                  # biCompression = BI_RGB
        len(xor) + len(mask),
        0, 0,               # resolution
        0, 0,               # colours used / important
    )
    return header + bytes(xor) + bytes(mask)


def build_ico(images):
    """images: list of (size, rows), written in the given order."""
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    blobs = []
    for size, rows in images:
        blob = dib_entry(rows)
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# --------------------------------------------------------------------------
# Writing.  Each script writes its pictures into the folder its command
# line names, or else into resources/ beside this folder.

def output_folder(argv):
    if len(argv) > 1:
        return argv[1]
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")


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
