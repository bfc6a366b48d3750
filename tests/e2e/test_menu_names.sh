#!/usr/bin/env bash
# The real program's menus name every item for assistive technology: popped up from the
# notification icon and by a "Sendkeys Menu" hotkey, read inside the program's process by
# the test hook library (menunames.dll, set by olprobe's "hook"), each item's string is
# its caption and its data an MSAAMENUINFO with the same text.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir menu-names)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(
    record("&Append a line", "", 4, "C:\\windows\\system32\\cmd.exe", "/c rem")
    + record("Caf\xe9 \x80", "", 4, "C:\\windows\\system32\\cmd.exe", "/c rem")
    + record("List", "", 17, "SendKeyList_1.skl", key=34 + 11, keymod=6)  # Ctrl+Alt+L
    + record("Mail", "Net", 13, "mailto:friend@example.org"))
PY
printf 'Greeting=Hi there\r\n&Two=x\r\n' >"$app/SendKeyList_1.skl"
cp "$BUILD/bin/menunames.dll" "$app/"
names="$app/menunames.txt"

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
"$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" hook Ostrel "$(winpath "$app/menunames.dll")" \
  600000 >"$app/hook.log" 2>&1 &
HELPERS+=($!)
eventually "grep -qs hooked '$app/hook.log'" 10 ||
  fail "the hook library was not set: $(cat "$app/hook.log")"
menus() { if [[ -f "$names" ]]; then grep -c '^menu' "$names" || true; else echo 0; fi; }

DISPLAY="$OSTREL_DISPLAY" xdotool mousemove 1012 757 click 1
probe menu 3000 >/dev/null || fail "a click on the icon did not pop the menu up"
eventually '[[ $(menus) -ge 1 ]]' 10 || fail "the hook library read no menu"
shot menu-names
press Escape
probe nomenu 3000 || fail "Escape did not close the menu"

sleep 1.2  # requests within a second of the last one are dropped
press ctrl+alt+l
probe menu 3000 >/dev/null || fail "Ctrl+Alt+L did not pop the macro menu up"
eventually '[[ $(menus) -ge 2 ]]' 10 || fail "the hook library read no macro menu"
sleep 1  # a menu closed within half a second of opening comes back
press Escape
probe nomenu 3000 || fail "Escape did not close the macro menu"

# Each item as "<string> [<MSAAMENUINFO text>]", indented by depth; "-" a separator.
expected=$(printf '%s\n' menu '&Append a line' 'Café €' List Net '  Mail' - 'Hide Menu' \
  'HotKeys Off' Show... Terminate menu Greeting '&Two' - Quit |
  sed -E '/^(menu|-)$/!s/^( *)(.*)$/\1\2 [\2]/')
got=$(tr -d '\r' <"$names")
[[ "$got" == "$expected" ]] || fail "the menus' names read inside the program differ:
$(diff <(echo "$expected") <(echo "$got"))"

echo "PASS"
