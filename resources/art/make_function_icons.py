#!/usr/bin/env python3
"""Draw the function chooser's icons and write them as ../funicons.bmp.

FunIcons holds one 32x32 picture per function type side by side in one
strip, 32 pixels high and 32 wide for each entry of PICTURES (21 entries,
672 pixels, today); image i belongs to function type i and image 0 is
never drawn (it is all transparent).  A new function type appends its
drawing to PICTURES, and the strip grows with it:

   1  Explore a Folder         a folder with a magnifying glass
   2  Open a Folder            an open folder with a sheet in it
   3  Open a File              a document with a folded corner
   4  Run a program            a program window with a gear
   5  Hide/Show Active Window  a window with an eye in it
   6  Show Configuration Panel the configuration window with sliders
   7  Show OstrelMenu          a banner menu with its highlighted item
   8  Browse a file            a document with a small globe
   9  Browse an ftp site       a server with an up and a down arrow
  10  Browse a gopher site     a gopher's head
  11  Browse a website         a globe
  12  Browse a secure website  a globe with a padlock
  13  Start a new email        an envelope
  14  Start a news session     a newspaper
  15  Start a telnet session   a terminal with a prompt
  16  Send Keys                three keycaps
  17  Sendkeys Menu            a small menu and a keycap
  18  Minimize all             windows, an arrow down onto the taskbar
  19  Hide/Show Desktop        a monitor showing a desktop
  20  Disable HotKeys          the program's keycap, greyed, under a red
                               "no" sign

They are drawn like the images of ImageList1, with artlib.py: the
program icon's palette, procedural shapes, supersampling, and partly
covered pixels blended toward a neutral light grey, never toward the
transparent colour.  Transparent pixels are pure magenta RGB(255, 0, 255);
the chooser loads the strip with ImageList_LoadImageA and that mask
colour.  The list draws them on the window colour and on the highlight
colour, so every picture carries its own dark outline.

The strip is also drawn for 120, 144 and 192 DPI, 40, 48 and 64 pixels
high (funicons_40.bmp, funicons_48.bmp, funicons_64.bmp), from the same
shapes with their straight edges moved onto whole pixels; the letters on
the keycaps are laid out afresh in the pixels of each size.  Those three
are 8-bit with a colour table of 256 colours chosen for them.

After writing, the script reads the file back and checks it; it exits
non-zero if the file is not what the program expects.  The output is
deterministic: same script, same bytes.

Usage:  python3 make_function_icons.py [output-folder]
"""

import math
import sys

sys.dont_write_bytecode = True
from artlib import (BOLT, BOLT_EDGE, CAP_EDGE, CAP_FACE_BOTTOM, CAP_FACE_TOP,
                    CAP_SIDE, LINE_GREY, PAPER, RED, RED_DARK, TEAL_BOTTOM,
                    TEAL_LIGHT, TEAL_RIM, TEAL_TOP, TRANSPARENT, WHITE,
                    bolt_points, both, cells_of, disk, draw, drawn_size,
                    enlarged, minus, output_folder, pixel_glyph, polygon, rect,
                    ring, rounded_rect, segment, strip_faults, stroke, union,
                    vertical, write_sizes)

CELL = 32

# Subsamples per pixel along each axis.
SS = 4

# More colours, beside those of the icon and of ImageList1.
INK = (24, 32, 36)
FOLDER = (236, 184, 64)
FOLDER_LIGHT = (250, 214, 112)
FOLDER_RIM = (140, 96, 16)
GLASS = (190, 228, 240)
SEA = (40, 120, 200)
SEA_DARK = (20, 70, 140)
SEA_RIM = (12, 40, 90)
LAND = (70, 170, 70)
GOLD = (230, 180, 40)
GOLD_DARK = (150, 108, 10)
GREEN = (40, 160, 60)
GREEN_DARK = (20, 100, 30)
SCREEN_GREEN = (90, 255, 120)
BROWN = (150, 96, 52)
BROWN_DARK = (90, 54, 24)
BROWN_LIGHT = (214, 170, 120)
NOSE = (60, 30, 20)
SKY = (70, 150, 210)
STEEL = (150, 160, 166)
STEEL_DARK = (70, 80, 86)


# --------------------------------------------------------------------------
# More shapes: functions (x, y) -> bool in pixel units of one cell.

def ellipse(cx, cy, rx, ry):
    def inside(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        return u * u + v * v <= 1.0

    return inside


def gear(cx, cy, r_root, r_tip, teeth, r_hole):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < r_hole or d > r_tip:
            return False
        if d <= r_root:
            return True
        turn = (math.atan2(dy, dx) / (2 * math.pi) * teeth) % 1.0
        return turn < 0.5

    return inside


def outlined(shape_out, shape_in, rim, fill):
    """Two layers: a rim and what it holds."""
    return [(shape_out, rim), (shape_in, fill)]


# --------------------------------------------------------------------------
# Pieces several pictures share.

def folder_back(x0, y0, x1, y1):
    """The back of a folder with its tab, rim and fill."""
    return [
        (union(rounded_rect(x0, y0, x0 + 11, y0 + 6, 1.5),
               rounded_rect(x0, y0 + 3, x1, y1, 1.5)), FOLDER_RIM),
        (union(rect(x0 + 1, y0 + 1, x0 + 10, y0 + 5),
               rect(x0 + 1, y0 + 4, x1 - 1, y1 - 1)), FOLDER),
    ]


def window(x0, y0, x1, y1, bar=5):
    """A window: dark frame, teal title bar with a close box, paper inside."""
    return [
        (rect(x0, y0, x1, y1), TEAL_RIM),
        (rect(x0 + 1, y0 + 1, x1 - 1, y0 + bar), vertical(TEAL_LIGHT, TEAL_TOP,
                                                           y0, y0 + bar)),
        (rect(x1 - 5, y0 + 2, x1 - 2, y0 + bar - 1), PAPER),
        (rect(x0 + 1, y0 + bar, x1 - 1, y1 - 1), PAPER),
    ]


def page(x0, y0, x1, y1, fold=7):
    """A sheet with its top right corner folded over, and lines of text."""
    outline = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1),
                       (x0, y1)])
    inner = polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1),
                     (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1),
                     (x0 + 1, y1 - 1)])
    corner = polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    layers = [(outline, CAP_EDGE), (inner, PAPER), (corner, CAP_EDGE),
              (polygon([(x1 - fold + 1, y0 + 2), (x1 - fold + 1, y0 + fold - 1),
                        (x1 - 2, y0 + fold - 1)]), CAP_SIDE)]
    y = y0 + 5
    while y + 2 <= y1 - 2:
        right = x1 - 3 if y > y0 + fold + 1 else x1 - fold - 2
        layers.append((rect(x0 + 3, y, right, y + 1), LINE_GREY))
        y += 3
    return layers


def globe(cx, cy, r):
    """The earth: sea, land, a rim and the lines of a grid."""
    body = disk(cx, cy, r)
    inner = disk(cx, cy, r - 1.2)
    land = both(inner, union(
        ellipse(cx - 0.35 * r, cy - 0.35 * r, 0.38 * r, 0.3 * r),
        ellipse(cx - 0.2 * r, cy + 0.25 * r, 0.22 * r, 0.45 * r),
        ellipse(cx + 0.45 * r, cy - 0.1 * r, 0.3 * r, 0.4 * r),
        ellipse(cx + 0.5 * r, cy + 0.55 * r, 0.2 * r, 0.15 * r)))
    grid = both(inner, union(
        minus(ellipse(cx, cy, 0.5 * r + 0.5, r), ellipse(cx, cy, 0.5 * r - 0.5, r)),
        rect(cx - 0.5, cy - r, cx + 0.5, cy + r),
        rect(cx - r, cy - 0.5, cx + r, cy + 0.5),
        rect(cx - r, cy - 0.45 * r - 0.4, cx + r, cy - 0.45 * r + 0.4),
        rect(cx - r, cy + 0.45 * r - 0.4, cx + r, cy + 0.45 * r + 0.4)))
    return [
        (body, SEA_RIM),
        (inner, vertical(SEA, SEA_DARK, cy - r, cy + r)),
        (land, LAND),
        (grid, (150, 200, 235)),
    ]


def keycap(x0, y0, x1, y1, face_top=CAP_FACE_TOP, face_bottom=CAP_FACE_BOTTOM):
    """The program's keycap seen from the front: rim, side, lighter top face."""
    return [
        (rounded_rect(x0, y0, x1, y1, 2.5), TEAL_RIM),
        (rounded_rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 1.8), CAP_SIDE),
        (rounded_rect(x0 + 2, y0 + 1, x1 - 2, y1 - 3, 1.4),
         vertical(face_top, face_bottom, y0 + 1, y1 - 3)),
    ]


def popup_menu(x0, y0, x1, y1, rows, lit):
    """A popup menu with the OstrelMenu's teal banner down its left side and
    `rows` items, of which item `lit` is highlighted."""
    layers = [
        (rect(x0, y0, x1, y1), INK),
        (rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1), PAPER),
        (rect(x0 + 1, y0 + 1, x0 + 5, y1 - 1), vertical(TEAL_TOP, TEAL_BOTTOM,
                                                        y0, y1)),
    ]
    step = (y1 - y0 - 2) / rows
    for k in range(rows):
        top = y0 + 1 + k * step
        if k == lit:
            layers.append((rect(x0 + 6, top + 0.5, x1 - 2, top + step - 0.5),
                           TEAL_LIGHT))
            layers.append((rect(x0 + 8, top + step / 2 - 0.5, x1 - 5,
                                top + step / 2 + 0.5), WHITE))
        else:
            layers.append((rect(x0 + 8, top + step / 2 - 0.5, x1 - 6 - 2 * (k % 2),
                                top + step / 2 + 0.5), LINE_GREY))
    return layers


def letter_strokes(col, row):
    """The pixels of a letter four units wide and six high at (col, row),
    laid out afresh at each size: (left, top, right, bottom, stroke), in
    whole pixels."""
    s = drawn_size() / CELL
    left, top = round(col * s), round(row * s)
    return left, top, left + round(4 * s), top + round(6 * s), max(1, round(s))


def pixel_rects(boxes):
    """Rectangles given in whole pixels of the picture being drawn."""
    s = drawn_size() / CELL
    return union(*(rect(x0 / s, y0 / s, x1 / s, y1 / s)
                   for x0, y0, x1, y1 in boxes))


def letter_a(col, row):
    left, top, right, bottom, w = letter_strokes(col, row)
    bar = top + round(3 * drawn_size() / CELL)
    return [(pixel_rects([(left + w, top, right - w, top + w),
                          (left, top + w, left + w, bottom),
                          (right - w, top + w, right, bottom),
                          (left + w, bar, right - w, bar + w)]), INK)]


def letter_f(col, row):
    left, top, right, bottom, w = letter_strokes(col, row)
    bar = top + round(2 * drawn_size() / CELL)
    return [(pixel_rects([(left, top, left + w, bottom),
                          (left + w, top, right, top + w),
                          (left + w, bar, right - (right - left) // 4,
                           bar + w)]), INK)]


# --------------------------------------------------------------------------
# The pictures, by function type.  Each is a list of (shape, colour)
# layers, bottom first; a colour is an RGB tuple or a function (x, y) -> RGB.

def explore_folder():
    lens = (20.5, 19.5)
    return folder_back(1, 5, 27, 26) + [
        (segment(24.0, 23.0, 29.5, 28.5, 5.0), INK),
        (segment(24.5, 23.5, 29.0, 28.0, 2.6), STEEL),
        (disk(lens[0], lens[1], 7.5), INK),
        (disk(lens[0], lens[1], 5.8), GLASS),
        (disk(lens[0] - 2.0, lens[1] - 2.0, 1.6), WHITE),
    ]


def open_folder():
    front = polygon([(7.0, 13.0), (31.5, 13.0), (27.0, 28.0), (1.0, 28.0)])
    front_fill = polygon([(8.0, 14.5), (29.6, 14.5), (25.8, 26.6), (2.9, 26.6)])
    return folder_back(1, 4, 27, 28) + [
        (rect(6, 7, 24, 16), CAP_EDGE),
        (rect(7, 8, 23, 16), PAPER),
        (rect(9, 10, 20, 11), LINE_GREY),
        (rect(9, 12, 18, 13), LINE_GREY),
        (front, FOLDER_RIM),
        (front_fill, vertical(FOLDER_LIGHT, FOLDER, 14, 27)),
    ]


def open_file():
    return page(6, 2, 26, 30)


def run_program():
    return window(1, 2, 26, 24) + [
        (rect(4, 10, 14, 11), LINE_GREY),
        (rect(4, 13, 11, 14), LINE_GREY),
        (rect(4, 16, 13, 17), LINE_GREY),
        (gear(22.0, 22.0, 6.2, 8.8, 8, 0.0), INK),
        (gear(22.0, 22.0, 5.2, 7.8, 8, 0.0), vertical(GOLD, GOLD_DARK, 14, 30)),
        (disk(22.0, 22.0, 3.0), INK),
        (disk(22.0, 22.0, 1.8), PAPER),
    ]


def hide_show_window():
    eye_out = both(disk(16, 27.5, 15.5), disk(16, 4.5, 15.5))
    eye_in = both(disk(16, 27.5, 14.0), disk(16, 4.5, 14.0))
    return window(1, 3, 31, 29) + [
        (eye_out, INK),
        (eye_in, WHITE),
        (disk(16, 16, 5.0), vertical(TEAL_LIGHT, TEAL_BOTTOM, 11, 21)),
        (disk(16, 16, 2.2), INK),
        (disk(14.4, 14.4, 1.0), WHITE),
    ]


def show_config():
    layers = window(1, 3, 31, 29)
    for k, knob in enumerate((20, 10, 16)):
        y = 11 + 6 * k
        layers += [
            (rect(5, y, 27, y + 1), LINE_GREY),
            (rounded_rect(knob - 2, y - 3, knob + 2, y + 4, 1.0), TEAL_RIM),
            (rect(knob - 1, y - 2, knob + 1, y + 3), TEAL_LIGHT),
        ]
    return layers


def show_menu():
    return popup_menu(4, 2, 28, 30, 6, 2) + [
        # The mouse pointer that brought it up.
        (polygon([(20, 17), (20, 31), (23.5, 27.5), (26, 32), (28.5, 31),
                  (26, 26.5), (30.5, 26.5)]), INK),
        (polygon([(21, 19.5), (21, 28.6), (23.8, 25.8), (26.4, 30.6),
                  (27.2, 30.2), (24.6, 25.5), (28.2, 25.5)]), WHITE),
    ]


def browse_file():
    return page(2, 2, 22, 30) + globe(22.5, 21.5, 8.5)


def browse_ftp():
    up = polygon([(20.5, 2), (27.5, 10), (23.5, 10), (23.5, 16), (17.5, 16),
                  (17.5, 10), (13.5, 10)])
    down = polygon([(24.5, 30), (31.5, 22), (27.5, 22), (27.5, 16),
                    (21.5, 16), (21.5, 22), (17.5, 22)])
    layers = [
        (rect(2, 3, 16, 30), INK),
        (rect(3, 4, 15, 29), vertical(STEEL, STEEL_DARK, 4, 29)),
    ]
    for y in (7, 12, 17):
        layers += [(rect(5, y, 13, y + 3), INK), (rect(10, y + 1, 12, y + 2),
                                                   SCREEN_GREEN)]
    layers += [(rect(7, 24, 11, 26), INK)]
    grow = 1.2
    layers += [
        (polygon([(20.5, 2 - grow), (27.5 + grow * 1.4, 10 + grow * 0.4),
                  (23.5 + grow, 10 + grow * 0.4), (23.5 + grow, 16 + grow),
                  (17.5 - grow, 16 + grow), (17.5 - grow, 10 + grow * 0.4),
                  (13.5 - grow * 1.4, 10 + grow * 0.4)]), GREEN_DARK),
        (up, GREEN),
        (polygon([(24.5, 30 + grow), (31.5 + grow * 1.4, 22 - grow * 0.4),
                  (27.5 + grow, 22 - grow * 0.4), (27.5 + grow, 16 - grow),
                  (21.5 - grow, 16 - grow), (21.5 - grow, 22 - grow * 0.4),
                  (17.5 - grow * 1.4, 22 - grow * 0.4)]), SEA_RIM),
        (down, SEA),
    ]
    return layers


def browse_gopher():
    head_out = union(disk(16, 17, 12.5), disk(6.5, 7.5, 4.5), disk(25.5, 7.5, 4.5))
    head = union(disk(16, 17, 11.3), disk(6.5, 7.5, 3.3), disk(25.5, 7.5, 3.3))
    return [
        (head_out, BROWN_DARK),
        (head, vertical(BROWN, (120, 72, 36), 5, 29)),
        (disk(6.5, 7.5, 1.8), BROWN_LIGHT),
        (disk(25.5, 7.5, 1.8), BROWN_LIGHT),
        (ellipse(16, 22, 7.5, 6.0), BROWN_LIGHT),
        (disk(10.5, 14, 2.4), INK),
        (disk(21.5, 14, 2.4), INK),
        (disk(11.2, 13.3, 0.8), WHITE),
        (disk(22.2, 13.3, 0.8), WHITE),
        (ellipse(16, 18.5, 2.6, 1.8), NOSE),
        (rect(13, 22, 19, 29), INK),
        (rect(14, 22, 15.6, 28), WHITE),
        (rect(16.4, 22, 18, 28), WHITE),
    ]


def browse_web():
    return globe(16, 16, 14.5)


def browse_secure_web():
    return globe(13, 13, 12.0) + [
        (ring(23.5, 17.5, 5.5, 2.2), INK),
        (ring(23.5, 17.5, 4.5, 3.2), STEEL),
        (rounded_rect(16, 19, 31, 31, 1.5), GOLD_DARK),
        (rounded_rect(17, 20, 30, 30, 1.0), vertical(GOLD, (210, 150, 20), 20, 30)),
        (disk(23.5, 24, 1.8), INK),
        (rect(22.8, 24, 24.2, 28), INK),
    ]


def new_mail():
    flap = polygon([(2.5, 7.5), (16, 19), (29.5, 7.5), (29.5, 9.5), (16, 21),
                    (2.5, 9.5)])
    return [
        (rect(1, 6, 31, 27), INK),
        (rect(2, 7, 30, 26), vertical(PAPER, CAP_FACE_BOTTOM, 7, 26)),
        (polygon([(2.5, 25), (13, 16), (14, 17.5), (4, 25.9)]), CAP_SIDE),
        (polygon([(29.5, 25), (19, 16), (18, 17.5), (28, 25.9)]), CAP_SIDE),
        (flap, CAP_EDGE),
        (rect(23, 10, 28, 15), RED),
    ]


def news():
    layers = [
        (rect(1, 3, 31, 29), INK),
        (rect(2, 4, 30, 28), PAPER),
        (rect(4, 6, 28, 10), INK),
        (rect(4, 12, 15, 19), SKY),
        (rect(4, 17, 15, 19), LAND),
    ]
    for y in (21, 24):
        layers.append((rect(4, y, 15, y + 1), LINE_GREY))
    for y in (12, 15, 18, 21, 24):
        layers.append((rect(17, y, 28, y + 1), LINE_GREY))
    return layers


def telnet():
    prompt = [
        "X.....",
        ".X....",
        "..X...",
        ".X....",
        "X.....",
    ]
    return [
        (rounded_rect(1, 3, 31, 25, 2.5), STEEL_DARK),
        (rounded_rect(2, 4, 30, 24, 2.0), STEEL),
        (rect(4, 6, 28, 22), INK),
        (stroke([(6.5, 9.5), (8.5, 11.5), (6.5, 13.5)], 1.25) if enlarged()
         else pixel_glyph(6, 9, prompt), SCREEN_GREEN),
        (rect(10, 13, 16, 14), SCREEN_GREEN),
        (rect(6, 17, 12, 18), (60, 170, 80)),
        (rect(14, 17, 20, 18), (60, 170, 80)),
        (rect(12, 25, 20, 28), STEEL_DARK),
        (rounded_rect(7, 27, 25, 31, 1.2), INK),
        (rect(8, 28, 24, 30), STEEL),
    ]


def send_keys():
    return (keycap(1, 1, 16, 16) + letter_a(7, 4)
            + keycap(16, 1, 31, 16) + letter_f(22, 4)
            + keycap(5, 16, 27, 31) + [(rect(10, 23, 22, 24), LINE_GREY)])


def send_keys_menu():
    return popup_menu(1, 1, 23, 25, 4, 1) + keycap(14, 14, 31, 31) + [
        (polygon(bolt_points(19.0, 16.0, 7.0, 10.5), False), BOLT_EDGE),
        (polygon(bolt_points(19.7, 16.8, 5.6, 9.0), False), BOLT),
    ]


def minimize_all():
    return window(10, 1, 31, 15, bar=4) + window(3, 5, 24, 19, bar=4) + [
        (polygon([(10.5, 17), (16.5, 17), (16.5, 21), (20.5, 21), (13.5, 28),
                  (6.5, 21), (10.5, 21)]), INK),
        (polygon([(11.5, 18), (15.5, 18), (15.5, 22), (18, 22), (13.5, 26.6),
                  (9, 22), (11.5, 22)]), WHITE),
        (rect(0, 28, 32, 32), TEAL_RIM),
        (rect(1, 29, 31, 32), TEAL_TOP),
        (rect(2, 29.5, 9, 31.5), (140, 200, 200)),
    ]


def desktop():
    layers = [
        (rounded_rect(1, 2, 31, 25, 2.0), INK),
        (rect(3, 4, 29, 23), vertical(TEAL_LIGHT, TEAL_TOP, 4, 23)),
        (rect(3, 21, 29, 23), STEEL),
        (rect(4, 21.5, 8, 22.5), TEAL_BOTTOM),
    ]
    for x, y in ((5, 6), (5, 13), (12, 6)):
        layers += [(rect(x, y, x + 4, y + 4), PAPER),
                   (rect(x + 1, y + 1, x + 3, y + 2), GOLD)]
    layers += [
        (rect(13, 25, 19, 28), INK),
        (rounded_rect(8, 27, 24, 31, 1.2), INK),
        (rect(9, 28, 23, 30), STEEL),
    ]
    return layers


def disable_hotkeys():
    grey_top, grey_bottom = (226, 229, 228), (204, 209, 208)
    dim = (120, 132, 132)
    no = union(ring(16, 16, 15.0, 12.6),
               both(disk(16, 16, 13), segment(8.0, 8.0, 24.0, 24.0, 2.6)))
    no_rim = union(ring(16, 16, 16.0, 11.6),
                   both(disk(16, 16, 13), segment(8.0, 8.0, 24.0, 24.0, 4.4)))
    return keycap(6, 6, 26, 27, grey_top, grey_bottom) + [
        (polygon(bolt_points(11.0, 8.0, 10.0, 12.5), False), dim),
        (no_rim, RED_DARK),
        (no, RED),
    ]


PICTURES = [
    None,  # image 0 is never drawn
    explore_folder, open_folder, open_file, run_program, hide_show_window,
    show_config, show_menu, browse_file, browse_ftp, browse_gopher,
    browse_web, browse_secure_web, new_mail, news, telnet,
    send_keys, send_keys_menu, minimize_all, desktop, disable_hotkeys,
]
# Image 0 and one image per function type.
COUNT = len(PICTURES)


# --------------------------------------------------------------------------
# Checking what was written.

def check(rows, pixels):
    """List the faults of a written strip; empty if it is right."""
    cells = cells_of(rows, COUNT)
    faults = []
    if cells[0].count(TRANSPARENT) != len(cells[0]):
        faults.append("image 0 is not all transparent")
    # A picture must fill a fair part of its cell to be seen at all.
    for c in range(1, COUNT):
        drawn = len(cells[c]) - cells[c].count(TRANSPARENT)
        if drawn < len(cells[c]) // 4:
            faults.append("image %d covers only %d pixels" % (c, drawn))
    return faults + strip_faults(rows, COUNT, first=1)


def main(argv):
    folder = output_folder(argv)
    return write_sizes(folder, "funicons", CELL, COUNT,
                       lambda c, pixels: draw(PICTURES[c], CELL, pixels, SS),
                       check, eight_bit=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
