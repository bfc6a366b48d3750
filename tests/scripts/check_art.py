#!/usr/bin/env python3
"""The pictures the program embeds are what their scripts draw: every script
under resources/art/ writes its pictures into a fresh folder, with nothing
but the standard library, and each must match the committed file byte for
byte. Every picture resources/Ostrel.rc names, every committed one and every
drawn one is checked, so none is left out.

Usage: check_art.py [folder of the committed pictures, resources/ by default]
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
art = os.path.join(root, "resources", "art")
committed = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources")


def pictures(folder):
    return {os.path.basename(p) for p in glob.glob(os.path.join(folder, "*.bmp"))
            + glob.glob(os.path.join(folder, "*.ico"))}


with open(os.path.join(committed, "Ostrel.rc"), encoding="latin-1") as f:
    embedded = set(re.findall(r'^\s*\w+\s+(?:BITMAP|ICON)\s+"([^"]+)"', f.read(), re.M))

faults = []
with tempfile.TemporaryDirectory() as out:
    # -S -s -E: no site-packages, so a script needing more than the standard
    # library fails here; -B: no caches left in the source tree.
    runs = [(os.path.basename(s), subprocess.Popen(
                [sys.executable, "-B", "-E", "-s", "-S", s, out], cwd=art,
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True))
            for s in sorted(glob.glob(os.path.join(art, "make_*.py")))]
    for name, run in runs:
        err = run.communicate()[1]
        if run.returncode:
            faults.append("%s failed (exit %d): %s" % (name, run.returncode, err.strip()))
    drawn = pictures(out)
    names = sorted(embedded | drawn | pictures(committed))
    for name in names:
        mine = os.path.join(committed, name)
        if name not in drawn:
            faults.append("%s: no script draws it" % name)
        elif not os.path.exists(mine):
            faults.append("%s: drawn but not committed" % name)
        elif open(mine, "rb").read() != open(os.path.join(out, name), "rb").read():
            faults.append("%s: differs from what its script draws" % name)
        if name not in embedded:
            faults.append("%s: not embedded by Ostrel.rc" % name)

for fault in faults:
    print("FAIL " + fault)
bad = len({f.split(":")[0] for f in faults} & set(names))
print("art: %d passed, %d failed" % (len(names) - bad, bad))
sys.exit(1 if faults else 0)
