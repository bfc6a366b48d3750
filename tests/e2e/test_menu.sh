#!/usr/bin/env bash
# The OstrelMenu pops up at the cursor on every kind of request: the private message,
# a hotkey of the "Show OstrelMenu" type, a click on the notification-area icon and the
# mouse resting in the top-left corner. A definition chosen with the keyboard runs, also
# one named like a fixed command; the fixed "Show..." shows the window and "Terminate"
# ends the program whatever the definitions are called, and so do the terminate message
# and a log-off.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir menu)
out="$app/ran.txt"
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(winpath "$out")" <<'PY'
import sys
from keysfil import record
path, out = sys.argv[1:3]
open(path, "wb").write(
    record("Append a line", "", 4, "C:\\windows\\system32\\cmd.exe", f"/c echo ran>>{out}")
    + record("Menu", "", 7, key=34 + 20, keymod=6)  # Ctrl+Alt+U
    + record("Show...", "", 4, "C:\\windows\\system32\\cmd.exe", f"/c echo show>>{out}")
    + record("Terminate", "", 4, "C:\\windows\\system32\\cmd.exe", f"/c echo term>>{out}")
    + record("Mail", "Net", 13, "mailto:friend@example.org")
    + record("Web", "Net", 11, "http://www.wikipedia.org"))
PY
lines() { if [[ -f "$out" ]]; then grep -c "${1:-ran}" "$out" || true; else echo 0; fi; }
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
mouse mousemove 500 600

# The private message; Escape closes the menu again.
probe post Ostrel 0x2261 || fail "could not post to the program"
probe menu 3000 >/dev/null || fail "MSG_SHOW_MENU did not pop the menu up"
shot menu-message
# The menu shows each definition with the fixed commands under them.
press Escape
probe nomenu 3000 || fail "Escape did not close the menu"

# A hotkey of the "Show OstrelMenu" type; the first item, chosen with the keyboard, runs.
sleep 1.2  # requests within a second of the last one are dropped
press ctrl+alt+u
probe menu 3000 >/dev/null || fail "Ctrl+Alt+U did not pop the menu up"
press Down Return
eventually '[[ $(lines) -ge 1 ]]' 15 || fail "the chosen definition did not run"

# A click on the notification-area icon, at the right end of the taskbar.
sleep 1.2
mouse mousemove 1012 757 click 1
probe menu 3000 >/dev/null || fail "a click on the icon did not pop the menu up"
shot menu-tray
press Escape
probe nomenu 3000 || fail "Escape did not close the menu"

# The mouse resting in the top-left corner of the screen.
sleep 1.2
mouse mousemove 200 200
sleep 0.3
mouse mousemove 0 0
probe menu 3000 >/dev/null || fail "the mouse gesture did not pop the menu up"
shot menu-gesture
press Escape
probe nomenu 3000 || fail "Escape did not close the menu"
mouse mousemove 500 600

# The items: Append a line, Menu, Show..., Terminate, Net, the separator, Hide Menu,
# HotKeys Off, Show..., Terminate. The definitions named "Terminate" and "Show..." run
# their own actions.
for item in term show; do
  sleep 1.2
  probe post Ostrel 0x2261
  probe menu 3000 >/dev/null || fail "the menu did not pop up for the definition $item"
  if [[ $item == term ]]; then press Down Down Down Down Return; else press Down Down Down Return; fi
  eventually "[[ \$(lines $item) -ge 1 ]]" 15 || fail "the definition named like a fixed command ($item) did not run"
done
probe wait Ostrel 2000 >/dev/null || fail "the definition named Terminate ended the program"

# The fixed "Show..." brings the window back from its close box.
probe close Ostrel
eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm .*iconic=1"' 5 \
  || fail "the close box did not minimise the window"
sleep 1.2
probe post Ostrel 0x2261
probe menu 3000 >/dev/null || fail "the menu did not pop up for Show..."
press Up Up Return
eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm visible=1 iconic=0"' 5 \
  || fail "the fixed Show... did not show the window"

# The fixed "Terminate", the last item, chosen with the keyboard ends the program.
sleep 1.2
probe post Ostrel 0x2261
probe menu 3000 >/dev/null || fail "the menu did not pop up for Terminate"
press Up Return
wait_ostrel_gone 10 || fail "Terminate did not end the program"
[[ $(lines show) -eq 1 && $(lines term) -eq 1 ]] ||
  fail "a fixed command ran a definition of its name ($(lines show) show, $(lines term) term)"
[[ -f "$app/Keys.fil" ]] || fail "Keys.fil went missing"

# The terminate message ends a running program at once.
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear again"
sleep 1
probe post Ostrel 0x2262 || fail "could not post the terminate message"
wait_ostrel_gone 10 || fail "MSG_TERMINATE did not end the program"

# Windows asks every top-level window before a log-off: the program ends there and then.
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear again"
sleep 1
probe send Ostrel 0x0011 >/dev/null || true
wait_ostrel_gone 10 || fail "WM_QUERYENDSESSION did not end the program"
echo "PASS"
