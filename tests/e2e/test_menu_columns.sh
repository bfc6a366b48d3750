#!/usr/bin/env bash
# An OstrelMenu of 80 definitions, taller than the 768-pixel screen, opens in columns in
# the work area, its banner whole down the first column with "Ostrel" on it, at 96 and 144
# DPI. Down walks all 84 items round to the first; Right goes to the next column.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir menu_columns)
out="$app/ran.txt"
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(winpath "$out")" <<'PY'
import sys; from keysfil import record
open(sys.argv[1], "wb").write(b"".join(record(
    f"Item {n:02}", "", 4, "C:\\windows\\system32\\cmd.exe", f"/c echo {n:02}>{sys.argv[2]}")
    for n in range(1, 81)))
PY
set_dpi() { "$ROOT/scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
  /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || fail "could not set LogPixels to $1"; }
trap 'set_dpi 96; cleanup' EXIT
ran() { if [[ -f "$out" ]]; then tr -dc 0-9 <"$out"; fi; }
read -r _ wy _ wh <<<"$(probe workarea | tr -d '\r' | rect_of)"
open_menu() {  # sets the menu's x y w h; the mouse rests over no item
  rm -f "$out"
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove 1012 757 click 1 sleep 0.5 mousemove 10 10
  read -r x y w h <<<"$(probe menu 3000 | tr -d '\r' | rect_of)"
  [[ -n "$h" ]] || fail "a click on the icon did not pop the menu up"
}
# The menu within the work area; its banner (3 pixels inside the window) aqua at the
# top, teal at the bottom, with black text in between.
check_fits() {  # dpi
  echo "menu at $1 DPI: ${w}x$h at $x,$y; work area from $wy, $wh high"
  ((y >= wy && y + h <= wy + wh)) || fail "the menu at $1 DPI leaves the work area"
  shot "menu-columns-$1"
  convert "$ARTIFACTS/menu-columns-$1.png" -crop \
    "$(($1 * 20 / 96))x$((h - 6))+$((x + 3))+$((y + 3))" +repage txt:- | python3 -c '
import re, sys
px = [tuple(map(int, m.groups())) for m in
      (re.search(r"\((\d+),(\d+),(\d+)", line) for line in sys.stdin) if m]
text = sum(1 for c in px if max(c) < 64)
print(f"  banner top {px[0]}, bottom {px[-1]}, {text} text pixels")
sys.exit(0 if px[0] == (0, 255, 255) and px[-1] == (0, 128, 128) and text > 40 else 1)' ||
    fail "the banner at $1 DPI is not whole down the first column with its text"
}
start() { start_ostrel "$app"; probe wait Ostrel 15000 >/dev/null || fail "no window"; sleep 1; }
start
open_menu
check_fits 96
press $(printf 'Down %.0s' $(seq 85)) Return  # every item once, then round to the first
eventually '[[ "$(ran)" == 01 ]]' 15 || fail "Down did not walk the 84 items round to the first (ran: $(ran))"
# The command's console takes the foreground while it runs: the next menu waits for it.
eventually '! pgrep -f "system32.cmd.exe" >/dev/null' 15 && sleep 1 || fail "the command did not end"
open_menu
press Down Right Return
eventually '[[ -n "$(ran)" ]]' 15 || fail "Right and Enter ran nothing"
(($(ran) > 20)) || fail "Right went to item $(ran), not to the next column"
stop_ostrel
set_dpi 144
start
open_menu
check_fits 144
echo "PASS"
