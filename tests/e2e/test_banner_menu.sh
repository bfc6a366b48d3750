#!/usr/bin/env bash
# The OstrelMenu and the macro menu of the real program are drawn with the banner: a
# 20-pixel column down their left from aqua at the top to teal at the bottom, teal items
# with the images of ImageList1 (the group's folder, the fixed commands' pictures), and
# a silver bar on the item chosen with the keyboard. A letter typed at an item's "&"
# runs it. Everything is read from the screen's pixels.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir banner_menu)
out="$app/ran.txt"
# Ctrl+Alt (modifier index 6) with a letter: key index 34 is A.
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(winpath "$out")" "$(key L)" <<'PY'
import sys
from keysfil import record
path, out, l = sys.argv[1], sys.argv[2], int(sys.argv[3])
open(path, "wb").write(
    record("&Echo a line", "", 4, "C:\\windows\\system32\\cmd.exe", f"/c echo ran>>{out}")
    + record("Mail", "Net", 13, "mailto:friend@example.org")
    + record("Web", "Net", 11, "http://www.wikipedia.org")
    + record("List", "Macros", 17, "SendKeyList_1.skl", key=l, keymod=6))
PY
printf 'Greeting=Hi there\r\nAddress=1 Main Street\r\n' >"$app/SendKeyList_1.skl"
lines() { if [[ -f "$out" ]]; then grep -c ran "$out" || true; else echo 0; fi; }
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }

# Checks the open menu in a screenshot: banner, teal items, images; with "selected", the
# silver bar on the first item. Prints what it found when something is missing.
check_menu() {  # png "x y w h" images selected
  python3 - "$@" "$ROOT/resources" <<'PY'
import subprocess, sys
sys.dont_write_bytecode = True
png, rect, images, selected, resources = sys.argv[1:6]
sys.path.insert(0, resources + "/art")
from artlib import read_bmp
x, y, w, h = (int(v) for v in rect.split())
txt = subprocess.run(["convert", png, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "txt:-"],
                     check=True, capture_output=True, text=True).stdout
px = {}
for line in txt.splitlines()[1:]:
    pos, rest = line.split(":", 1)
    i, j = (int(v) for v in pos.split(","))
    r, g, b = (int(v) for v in rest.split("(")[1].split(")")[0].split(",")[:3])
    px[i, j] = (r, g, b)
faults = []
# Wine lays a popup's items out 3 pixels inside its window; the banner starts there.
left, top, bottom = 3, 3, h - 4
column = [px[left, j] for j in range(top, bottom + 1)]
if column[0] != (0, 255, 255): faults.append(f"banner top is {column[0]}, not aqua")
if column[-1] != (0, 128, 128): faults.append(f"banner bottom is {column[-1]}, not teal")
if any(c[0] != 0 or c[1] != c[2] for c in column): faults.append("banner column leaves aqua-teal")
if any(a[1] < b[1] for a, b in zip(column, column[1:])): faults.append("banner gets lighter downwards")
if len({c for c in column}) < 8: faults.append("banner has fewer than 8 bands")
items = [px[i, j] for i in range(left + 22, w - 4) for j in range(top, bottom)]
teal = sum(1 for c in items if c == (0, 128, 128)) / len(items)
if teal < 0.5: faults.append(f"only {teal:.0%} of the items' area is teal")
if selected == "selected":
    bar = [px[i, j] for i in range(left + 22, w - 4) for j in range(top, top + 18)]
    silver = sum(1 for c in bar if c == (192, 192, 192)) / len(bar)
    if silver < 0.5: faults.append(f"only {silver:.0%} of the first item is silver")
# Each expected image of ImageList1 stands 24 pixels right of the items' left, its
# magenta showing the item's background.
strip = read_bmp(open(resources + "/imagelist1.bmp", "rb").read())
for n in (int(v) for v in images.split()):
    found = False
    for t in range(top, bottom - 16):
        for bg in ((0, 128, 128), (192, 192, 192)):
            if all(px[left + 24 + i, t + j] == (bg if strip[j][16 * n + i] == (255, 0, 255)
                                               else strip[j][16 * n + i])
                   for j in range(16) for i in range(16)):
                found = True
    if not found: faults.append(f"image {n} is not beside any item")
for f in faults: print("  " + f)
sys.exit(1 if faults else 0)
PY
}

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
mouse mousemove 500 600

# The OstrelMenu from the notification-area icon.
mouse mousemove 1012 757 click 1
rect=$(probe menu 3000 | tr -d '\r' | rect_of) || fail "a click on the icon did not pop the menu up"
mouse mousemove 500 600  # away from the icon's tool-tip, over no item
sleep 0.5
shot banner-menu-tray
check_menu "$ARTIFACTS/banner-menu-tray.png" "$rect" "0 5 4 2 3" plain ||
  fail "the OstrelMenu is not drawn with its banner and images"
press Down
sleep 0.5
shot banner-menu-down
check_menu "$ARTIFACTS/banner-menu-down.png" "$rect" "0" selected ||
  fail "Down did not put the silver bar on the first item"
# "e" is the "&" letter of "&Echo a line".
press e
probe nomenu 3000 || fail "the letter did not close the menu"
eventually '[[ $(lines) -ge 1 ]]' 15 || fail "the item of the typed letter did not run"

# The macro menu, popped up where the OstrelMenu last appeared.
sleep 1.2
press ctrl+alt+l
rect=$(probe menu 3000 | tr -d '\r' | rect_of) || fail "Ctrl+Alt+L did not pop the macro menu up"
sleep 0.5
shot banner-menu-macros
# Its items carry Tag 0: each shows image 0.
check_menu "$ARTIFACTS/banner-menu-macros.png" "$rect" "0" plain ||
  fail "the macro menu is not drawn with its banner"
press Escape
probe nomenu 3000 || fail "Escape did not close the macro menu"
echo "PASS"
