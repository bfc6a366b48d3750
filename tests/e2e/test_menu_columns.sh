#!/usr/bin/env bash
# An OstrelMenu of 80 definitions is taller than the 768-pixel screen: it opens in
# columns inside the work area, with no scrolling, its banner down the whole first
# column with "Ostrel" on it, at 96 and at 144 DPI. The arrow keys reach every item:
# Down walks all 84 in turn and comes back to the first, Right goes to the next column.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir menu_columns)
out="$app/ran.txt"
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(winpath "$out")" <<'PY'
import sys
from keysfil import record
path, out = sys.argv[1:3]
open(path, "wb").write(b"".join(
    record(f"Item {n:02}", "", 4, "C:\\windows\\system32\\cmd.exe", f"/c echo {n:02}>{out}")
    for n in range(1, 81)))
PY
set_dpi() {
  "$ROOT/scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f >/dev/null 2>&1 || fail "could not set LogPixels to $1"
}
trap 'set_dpi 96; cleanup' EXIT
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }
ran() { if [[ -f "$out" ]]; then tr -dc 0-9 <"$out"; fi; }
read -r _ wy _ wh <<<"$(probe workarea | tr -d '\r' | rect_of)"

# Opens the menu from the icon; RECT is its "x y w h".
open_menu() {
  rm -f "$out"
  mouse mousemove 1012 757 click 1
  RECT=$(probe menu 3000 | tr -d '\r' | rect_of) || fail "a click on the icon did not pop the menu up"
  mouse mousemove 10 10  # over no item
  sleep 0.5
}

# The menu within the work area, and its banner (the first column's left strip, 3 pixels
# inside the window) aqua at the top, teal at the bottom, with black text in between.
check_fits() {  # dpi
  local x y w h
  read -r x y w h <<<"$RECT"
  echo "menu at $1 DPI: ${w}x$h at $x,$y; work area from $wy, $wh high"
  ((y >= wy && y + h <= wy + wh)) || fail "the menu at $1 DPI leaves the work area"
  shot "menu-columns-$1"
  python3 - "$ARTIFACTS/menu-columns-$1.png" "$x" "$y" "$h" "$(($1 * 20 / 96))" <<'PY' ||
import subprocess, sys
png, x, y, h, width = sys.argv[1], *map(int, sys.argv[2:])
txt = subprocess.run(["convert", png, "-crop", f"{width}x{h - 6}+{x + 3}+{y + 3}", "+repage",
                      "txt:-"], check=True, capture_output=True, text=True).stdout
px = {}
for line in txt.splitlines()[1:]:
    pos, rest = line.split(":", 1)
    px[tuple(int(v) for v in pos.split(","))] = tuple(
        int(v) for v in rest.split("(")[1].split(")")[0].split(",")[:3])
col = [px[width // 2, j] for j in range(h - 6)]
text = sum(1 for c in px.values() if max(c) < 64)
print(f"  banner top {col[0]}, bottom {col[-1]}, {text} text pixels")
sys.exit(0 if col[0] == (0, 255, 255) and col[-1] == (0, 128, 128) and text > 40 else 1)
PY
    fail "the banner at $1 DPI is not whole down the first column with its text"
}

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
open_menu
check_fits 96
press Escape
probe nomenu 3000 || fail "Escape did not close the menu"

# 85 presses of Down: every item once, then round to the first.
open_menu
press $(printf 'Down %.0s' $(seq 85)) Return
eventually '[[ "$(ran)" == 01 ]]' 15 || fail "Down did not walk the 84 items back to the first (ran: $(ran))"
# The command's console takes the foreground while it runs: the next menu waits for it.
eventually '! pgrep -f "system32.cmd.exe" >/dev/null' 15 || fail "the command did not end"
sleep 1
open_menu
press Down Right Return
eventually '[[ -n "$(ran)" ]]' 15 || fail "Right and Enter ran nothing"
first_column=$(($(ran) - 1))
echo "Right went to item $(ran): $first_column items in the first column"
(( first_column > 20 && first_column < 80 )) || fail "Right did not go to the next column"
stop_ostrel

set_dpi 144
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear at 144 DPI"
sleep 1
open_menu
check_fits 144
press Escape
echo "PASS"
