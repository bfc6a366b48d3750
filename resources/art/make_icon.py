#!/usr/bin/env python3
"""Draw the Ostrel program icon and write it as ../ostrel.ico.

The picture: a deep teal rounded tile holding a light keyboard keycap,
seen from the front, with an orange lightning bolt on its top face --
a key that does something at once.

Everything is drawn procedurally with the shapes of artlib.py and
anti-aliased by supersampling.  Each icon size has its own hand-tuned
layout so edges land on pixel boundaries where it matters; the 16x16
image in particular is laid out so the keycap and bolt stay readable in
the tray, its bolt in whole pixels.  The file holds every size Windows
asks for on screens of 96 to 192 DPI: small icons of 16, 20, 24 and 32
pixels, large ones of 32, 40, 48 and 64; every size above 16 draws the
bolt as a smooth shape with an edge.

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.  The output is
deterministic: same script, same bytes.

Usage:  python3 make_icon.py [output-folder]
"""

import os
import struct
import sys

sys.dont_write_bytecode = True
from artlib import (BOLT, BOLT_EDGE, BOLT_ROWS, CAP_EDGE, CAP_FACE_BOTTOM,
                    CAP_FACE_TOP, CAP_SIDE, SHADOW, TEAL_BOTTOM, TEAL_RIM,
                    TEAL_TOP, bolt_points, build_ico, lerp, nowhere,
                    offset_polygon, output_folder, pixel_glyph, polygon,
                    rounded_rect, to_byte, write_checked)

# Subsamples per pixel along each axis (SS * SS samples per pixel).
SS = 16


# --------------------------------------------------------------------------
# Layouts, in pixel units for each size.

def layout(size):
    if size == 16:
        return dict(
            tile=(0, 0, 16, 16, 3.2),
            shadow=(2.5, 3.5, 14.0, 15.0, 2.0),
            cap=(2, 2, 14, 14, 2.0),          # whole keycap incl. front side
            face=(3, 2.5, 13, 12.0, 1.5),    # top face
            # At this size a smooth bolt turns to orange mush, so it is
            # drawn as whole pixels (top-left pixel at column 4, row 3).
            bolt_glyph=(4, 3, BOLT_ROWS),
            rim=0.0,
        )
    if size == 20:
        return dict(
            tile=(0, 0, 20, 20, 4.0),
            shadow=(2.5, 3.5, 18.5, 19.5, 2.5),
            cap=(2, 2, 18, 18, 2.5),
            face=(4, 3, 16, 15, 1.8),
            # Too small for an edge, which would turn it brown: the bolt
            # itself is drawn a little fatter instead.
            bolt=(5.5, 3.9, 9.2, 10.4),
            bolt_grow=0.4,
            bolt_edge=0.0,
            rim=0.0,
        )
    if size == 24:
        return dict(
            tile=(0, 0, 24, 24, 4.5),
            shadow=(3.5, 5.0, 21.5, 22.5, 3.0),
            cap=(3, 3, 21, 21, 3.0),
            face=(5, 4, 19, 18, 2.2),
            bolt=(6.6, 4.7, 10.8, 12.8),
            bolt_edge=0.6,
            rim=1.0,
        )
    if size == 32:
        return dict(
            tile=(0, 0, 32, 32, 6.0),
            shadow=(5.5, 7.5, 27.5, 29.5, 4.0),
            cap=(5, 5, 27, 27, 4.0),
            face=(7, 5.8, 25, 22.2, 3.0),
            bolt=(10.0, 7.0, 12.0, 13.8),
            bolt_edge=0.75,
            rim=1.0,
        )
    if size == 48:
        return dict(
            tile=(0, 0, 48, 48, 9.0),
            shadow=(8.5, 11.5, 41.0, 44.0, 6.0),
            cap=(8, 7, 40, 40, 6.0),
            face=(10.5, 8.0, 37.5, 33.0, 4.5),
            bolt=(14.5, 10.0, 19.0, 21.5),
            bolt_edge=1.2,
            rim=1.0,
        )
    if size == 40:
        return dict(
            tile=(0, 0, 40, 40, 7.5),
            shadow=(7.0, 9.5, 34.5, 37.0, 5.0),
            cap=(6, 6, 34, 34, 5.0),
            face=(9, 7, 31, 28, 3.75),
            bolt=(12.5, 8.75, 15.0, 17.25),
            bolt_edge=0.9,
            rim=1.0,
        )
    if size == 64:
        return dict(
            tile=(0, 0, 64, 64, 12.0),
            shadow=(11.0, 15.0, 55.0, 59.0, 8.0),
            cap=(10, 10, 54, 54, 8.0),
            face=(14, 12, 50, 44, 6.0),
            bolt=(20.0, 14.0, 24.0, 27.6),
            bolt_edge=1.5,
            rim=1.0,
            edge=2.0,
        )
    raise ValueError("no layout for size %d" % size)


# --------------------------------------------------------------------------
# Rendering.

def render_icon(size):
    """Return rows of (r, g, b, a) tuples, top row first, 0..255 each."""
    L = layout(size)
    tx0, ty0, tx1, ty1, tr = L["tile"]
    tile = rounded_rect(tx0, ty0, tx1, ty1, tr)
    rim_w = L["rim"]
    tile_inner = (rounded_rect(tx0 + rim_w, ty0 + rim_w, tx1 - rim_w,
                               ty1 - rim_w, max(tr - rim_w, 0.0))
                  if rim_w > 0 else tile)
    shadow = rounded_rect(*L["shadow"])
    cx0, cy0, cx1, cy1, cr = L["cap"]
    cap = rounded_rect(cx0, cy0, cx1, cy1, cr)
    edge_w = L.get("edge", 0.6 if size == 16 else 1.0)
    cap_inner = rounded_rect(cx0 + edge_w, cy0 + edge_w, cx1 - edge_w,
                             cy1 - edge_w, max(cr - edge_w, 0.0))
    fx0, fy0, fx1, fy1, fr = L["face"]
    face = rounded_rect(fx0, fy0, fx1, fy1, fr)
    if "bolt_glyph" in L:
        bolt = pixel_glyph(*L["bolt_glyph"])
        bolt_outline = nowhere
    else:
        bpts = bolt_points(*L["bolt"])
        bolt = polygon(offset_polygon(bpts, L["bolt_grow"])
                       if "bolt_grow" in L else bpts)
        bolt_outline = (polygon(offset_polygon(bpts, L["bolt_edge"]))
                        if L["bolt_edge"] else nowhere)

    n = SS
    inv = 1.0 / n
    offsets = [(k + 0.5) * inv for k in range(n)]
    total = n * n

    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            acc_r = acc_g = acc_b = 0.0
            covered = 0
            for oy in offsets:
                y = j + oy
                for ox in offsets:
                    x = i + ox
                    if not tile(x, y):
                        continue
                    covered += 1
                    c = sample(x, y, size, L, tile_inner, shadow, cap,
                               cap_inner, face, bolt, bolt_outline)
                    acc_r += c[0]
                    acc_g += c[1]
                    acc_b += c[2]
            # A sliver of the tile's corner that would come out nearly
            # invisible is dropped, so the corners stay clean and the AND
            # mask marks them transparent too.
            if covered * 255 < total * 8:
                row.append((0, 0, 0, 0))
                continue
            # Colours are averaged over covered samples only (straight
            # alpha), alpha is the covered fraction.
            row.append((
                to_byte(acc_r / covered),
                to_byte(acc_g / covered),
                to_byte(acc_b / covered),
                to_byte(255.0 * covered / total),
            ))
        rows.append(row)
    return rows


def sample(x, y, size, L, tile_inner, shadow, cap, cap_inner, face, bolt,
           bolt_outline):
    """Colour of the icon at one point known to lie inside the tile."""
    if bolt(x, y):
        return BOLT
    if bolt_outline(x, y):
        return BOLT_EDGE
    if face(x, y):
        fy0, fy1 = L["face"][1], L["face"][3]
        t = (y - fy0) / (fy1 - fy0)
        return lerp(CAP_FACE_TOP, CAP_FACE_BOTTOM, min(max(t, 0.0), 1.0))
    if cap_inner(x, y):
        return CAP_SIDE
    if cap(x, y):
        return CAP_EDGE
    if shadow(x, y):
        return SHADOW
    if not tile_inner(x, y):
        return TEAL_RIM
    t = y / size
    return lerp(TEAL_TOP, TEAL_BOTTOM, t)


# Every size of the icon, in the order the file holds them.
SIZES = (16, 20, 24, 32, 40, 48, 64)


def check(data):
    """List the faults of a written icon file; empty if it is right: each
    size once, as a 32-bit image whose AND mask marks the clear pixels, the
    corners clear, the middle solid and the bolt's orange there."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1) or count != len(SIZES):
        return ["not an icon file of %d images" % len(SIZES)]
    faults = []
    for k, size in enumerate(SIZES):
        w, h, _, _, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * k)
        if (w, h, planes, bits) != (size, size, 1, 32):
            faults.append("image %d is %dx%d at %d bits, not %dx%d at 32"
                          % (k, w, h, bits, size, size))
            continue
        head = struct.unpack_from("<IiiHHI", data, offset)
        mask_stride = ((size + 31) // 32) * 4
        if (head != (40, size, 2 * size, 1, 32, 0)
                or length != 40 + size * size * 4 + mask_stride * size
                or offset + length > len(data)):
            faults.append("image %d: its bitmap header or length is wrong" % k)
            continue

        def pixel(i, j):  # (b, g, r, a, masked), j from the top
            row = size - 1 - j
            b, g, r, a = data[offset + 40 + 4 * (row * size + i):][:4]
            bit = data[offset + 40 + 4 * size * size + row * mask_stride + i // 8]
            return b, g, r, a, bool(bit & (0x80 >> (i % 8)))

        pixels = [pixel(i, j) for j in range(size) for i in range(size)]
        if any((a == 0) != masked for _, _, _, a, masked in pixels):
            faults.append("image %d: the AND mask does not match the alpha" % k)
        if any(pixel(i, j)[3] for i in (0, size - 1) for j in (0, size - 1)):
            faults.append("image %d: a corner is not clear" % k)
        if pixel(size // 2, size // 2)[3] != 255:
            faults.append("image %d: the middle is not solid" % k)
        orange = sum(1 for b, g, r, a, _ in pixels
                     if max(abs(r - BOLT[0]), abs(g - BOLT[1]), abs(b - BOLT[2])) < 32)
        if orange < size:
            faults.append("image %d: only %d pixels of the bolt's orange"
                          % (k, orange))
    return faults


def main(argv):
    target = os.path.join(output_folder(argv), "ostrel.ico")
    data = build_ico([(s, render_icon(s)) for s in SIZES])

    def faults(path):
        with open(path, "rb") as f:
            return check(f.read())

    return write_checked(target, data, faults)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
