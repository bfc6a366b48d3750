#!/usr/bin/env python3
"""Draw the banner menus' check and radio marks: ../checkmark.bmp, ../radiomark.bmp.

Two 17x17 images on white, which the menus leave out when they draw a mark
beside a checked item (white is the transparent colour).  The marks are
crisp black pixels with no anti-aliasing: an edge blended toward white
would show as a light fringe on the menus' coloured background.

  CheckMark   a tick, two pixels thick, in the middle of the square
  RadioMark   a round dot, 7 pixels across, in the middle of the square

At 17x17, for 96 DPI, they are laid out pixel by pixel.  For 120, 144 and
192 DPI they are drawn at 21, 26 and 34 pixels square (checkmark_21.bmp
and so on) from the same shapes scaled: a pixel is black where the shape
covers at least half of it, so they stay as crisp.

They are written as uncompressed 24-bit BMPs like the other pictures (see
artlib.py), read back and checked; the script exits non-zero if a
file is not what the program expects.  Same script, same bytes.

Usage:  python3 make_marks.py [output-folder]
"""

import os
import sys

sys.dont_write_bytecode = True
from artlib import (DPIS, build_bmp, disk, file_name, output_folder,
                    read_sized, size_at, stroke, write_checked)

SIZE = 17
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

CHECK = [
    ".................",
    ".................",
    ".................",
    ".................",
    "............XX...",
    "...........XXX...",
    "..........XXX....",
    "....X....XXX.....",
    "....XX..XXX......",
    "....XXXXXX.......",
    ".....XXXX........",
    "......XX.........",
    ".................",
    ".................",
    ".................",
    ".................",
    ".................",
]

RADIO = [
    ".................",
    ".................",
    ".................",
    ".................",
    ".................",
    ".......XXX.......",
    "......XXXXX......",
    ".....XXXXXXX.....",
    ".....XXXXXXX.....",
    ".....XXXXXXX.....",
    "......XXXXX......",
    ".......XXX.......",
    ".................",
    ".................",
    ".................",
    ".................",
    ".................",
]


# The marks as shapes, in pixels of the 17x17 square: the tick's middle line
# and thickness, and the dot.
TICK = stroke([(4.6, 7.7), (6.9, 10.4), (13.0, 4.6)], 2.1)
DOT = disk(8.5, 8.5, 3.55)

# Subsamples per pixel along each axis, for the marks drawn from shapes.
SS = 8


def rows_of(pattern):
    return [[BLACK if c == "X" else WHITE for c in line] for line in pattern]


def drawn(shape, size):
    """The shape scaled to a `size`-pixel square: black where it covers at
    least half a pixel, white elsewhere."""
    scale = size / SIZE
    offsets = [(k + 0.5) / SS for k in range(SS)]
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            hits = sum(1 for oy in offsets for ox in offsets
                       if shape((i + ox) / scale, (j + oy) / scale))
            row.append(BLACK if hits * 2 >= SS * SS else WHITE)
        rows.append(row)
    return rows


def black_parts(rows):
    """How many separate pieces the black pixels make (touching sideways or
    corner to corner)."""
    black = {(i, j) for j, row in enumerate(rows) for i, p in enumerate(row)
             if p == BLACK}
    parts = 0
    while black:
        parts += 1
        todo = [black.pop()]
        while todo:
            i, j = todo.pop()
            for near in ((i + a, j + b) for a in (-1, 0, 1) for b in (-1, 0, 1)):
                if near in black:
                    black.remove(near)
                    todo.append(near)
    return parts


def checker(pattern, size, round_mark):
    """The check of a mark `size` pixels square: at 17 it is the pattern; at
    every size it is black on white with a white border, in one piece, as
    dark for its size as the pattern is (within a quarter) and, for the
    dot, the same turned any way."""
    def check(path):
        rows, faults = read_sized(path, size, size)
        if faults:
            return faults
        if size == SIZE and rows != rows_of(pattern):
            faults.append("pixels differ from the pattern")
        if any(p not in (BLACK, WHITE) for row in rows for p in row):
            faults.append("a pixel is neither black nor white")
        if any(rows[j][i] != WHITE for j in range(size) for i in range(size)
               if min(i, j, size - 1 - i, size - 1 - j) == 0):
            faults.append("the border must be white (transparent)")
        ink = sum(row.count(BLACK) for row in rows)
        expected = sum(line.count("X") for line in pattern) * (size / SIZE) ** 2
        if abs(ink - expected) > expected / 4:
            faults.append("%d black pixels, expected about %d" % (ink, expected))
        if black_parts(rows) != 1:
            faults.append("the mark is not in one piece")
        if round_mark and not (rows == rows[::-1] == [r[::-1] for r in rows]
                               == [list(c) for c in zip(*rows)]):
            faults.append("the dot is not round: it changes when turned")
        return faults
    return check


def main(argv):
    folder = output_folder(argv)
    for stem, pattern, shape in (("checkmark", CHECK, TICK),
                                 ("radiomark", RADIO, DOT)):
        assert len(pattern) == SIZE and all(len(l) == SIZE for l in pattern)
        for dpi in DPIS:
            size = size_at(SIZE, dpi)
            rows = rows_of(pattern) if dpi == 96 else drawn(shape, size)
            status = write_checked(os.path.join(folder, file_name(stem, SIZE, dpi)),
                                   build_bmp(rows),
                                   checker(pattern, size, shape is DOT))
            if status:
                return status
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
