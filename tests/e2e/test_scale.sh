#!/usr/bin/env bash
# The real program at the screen scales users run (the prefix's LogPixels, which each
# program reads as it starts): the configuration window, the function chooser and the
# OstrelMenu grow with the scale, about 1.5 times at 144 DPI and 2 times at 192.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir scale)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(
    record("Notes", "", 3, "C:\\windows\\win.ini")
    + record("Mail", "Net", 13, "mailto:friend@example.org")
    + record("Web", "Net", 11, "http://www.wikipedia.org"))
PY
set_dpi() {
  "$ROOT/scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f >/dev/null 2>&1 || fail "could not set LogPixels to $1"
}
trap 'set_dpi 96; cleanup' EXIT
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }

# "w h" of the configuration window, the chooser and the OstrelMenu at a scale.
declare -A size
measure() {  # dpi
  local dpi=$1 rect
  set_dpi "$dpi"
  start_ostrel "$app"
  rect=$(probe wait Ostrel 15000 | tr -d '\r' | rect_of) || fail "no window at $dpi DPI"
  size[$dpi.window]=$(cut -d' ' -f3,4 <<<"$rect")
  sleep 1
  shot "scale-$dpi-window"
  click_control Ostrel 102 "$(( dpi * 20 / 96 ))"
  rect=$(probe wait "Add a new Hotkey" 5000 | tr -d '\r' | rect_of) || fail "no chooser at $dpi DPI"
  size[$dpi.chooser]=$(cut -d' ' -f3,4 <<<"$rect")
  press Home
  sleep 0.5
  shot "scale-$dpi-chooser"
  press Escape
  probe gone "Add a new Hotkey" 5000 || fail "Escape did not close the chooser at $dpi DPI"
  mouse mousemove 1012 757 click 1
  rect=$(probe menu 3000 | tr -d '\r' | rect_of) || fail "no OstrelMenu at $dpi DPI"
  size[$dpi.menu]=$(cut -d' ' -f3,4 <<<"$rect")
  mouse mousemove 300 300
  sleep 0.5
  shot "scale-$dpi-menu"
  press Escape
  stop_ostrel
}

for dpi in 96 144 192; do measure "$dpi"; done
for what in window chooser menu; do
  read -r w0 h0 <<<"${size[96.$what]}"
  for dpi in 144 192; do
    read -r w h <<<"${size[$dpi.$what]}"
    echo "$what at $dpi DPI: ${w}x$h (${w0}x$h0 at 96)"
    python3 -c 'import sys
w0, h0, w, h, dpi = map(int, sys.argv[1:])
want = dpi / 96
sys.exit(0 if all(abs(n / n0 - want) <= 0.1 * want for n, n0 in ((w, w0), (h, h0))) else 1)' \
      "$w0" "$h0" "$w" "$h" "$dpi" || fail "the $what did not grow with the scale at $dpi DPI"
  done
done
echo "PASS"
