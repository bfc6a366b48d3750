#!/usr/bin/env python3
"""Draw the banner menus' check and radio marks: ../checkmark.bmp, ../radiomark.bmp.

Two 17x17 images on white, which the menus leave out when they draw a mark
beside a checked item (white is the transparent colour).  The marks are
crisp black pixels with no anti-aliasing: an edge blended toward white
would show as a light fringe on the menus' coloured background.

  CheckMark   a tick, two pixels thick, in the middle of the square
  RadioMark   a round dot, 7 pixels across, in the middle of the square

They are written as uncompressed 24-bit BMPs like the other pictures (see
make_images.py), read back and checked; the script exits non-zero if a
file is not what the program expects.  Same script, same bytes.

Usage:  python3 make_marks.py [output-folder]
"""

import os
import sys

sys.dont_write_bytecode = True
from make_images import build_bmp, read_sized, write_checked

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


def rows_of(pattern):
    return [[BLACK if c == "X" else WHITE for c in line] for line in pattern]


def checker(pattern):
    def check(path):
        rows, faults = read_sized(path, SIZE, SIZE)
        if faults:
            return faults
        if rows != rows_of(pattern):
            faults.append("pixels differ from the pattern")
        if any(rows[j][i] != WHITE for j in (0, SIZE - 1) for i in range(SIZE)):
            faults.append("the border must be white (transparent)")
        return faults
    return check


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[1] if len(argv) > 1 else os.path.join(here, "..")
    for name, pattern in (("checkmark.bmp", CHECK), ("radiomark.bmp", RADIO)):
        assert len(pattern) == SIZE and all(len(l) == SIZE for l in pattern)
        status = write_checked(os.path.join(folder, name),
                               build_bmp(rows_of(pattern)), checker(pattern))
        if status:
            return status
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
