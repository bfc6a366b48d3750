#!/usr/bin/env bash
# Mouse hotkeys with the desktop's real pointer: each button and wheel direction, plain and
# with modifiers, types its letter into Notepad and Notepad sees nothing of it (a taken
# right click opens no context menu; Alt let go after a taken turn opens no menu bar, or
# the next letter would go to it); in the key-log window, which every definition leaves
# out, the click arrives once, press and release. A plain left click in the file loads
# switched off, named in a box, and is never taken. The corner gesture still works.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir mouse-hotkeys)
keylog="$app/keys.log"
# xdotool button | modifier | key index | modifier index | letter | the log's lines, "/"
# between. Buttons 2 middle, 8/9 back/forward, 4/5 wheel, 6/7 tilt, 1 left, 3 right.
clicks=("2||133|0|m|m207 0/m208 0" "8|ctrl|134|5|b|m20B 1 C/m20C 1 C" "9||135|0|f|m20B 2/m20C 2"
  "4|alt|136|7|u|m20A 120 A" "5||137|0|d|m20A -120" "6|shift|138|1|l|m20E -120 S"
  "7||139|0|r|m20E 120" "1|ctrl|140|5|c|m201 0 C/m202 0 C" "3|ctrl|141|5|x|m204 0 C/m205 0 C/m7B 0 C"
  "1||140|0|p|m201 0/m202 0")
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "${clicks[@]}" <<'PY'
import sys
from keysfil import record
rows = [row.split("|") for row in sys.argv[2:]]
open(sys.argv[1], "wb").write(b"".join(
    record(f"{b} {m}", "", 16, letter, key=int(k), keymod=int(km)) for b, m, k, km, letter, _ in rows))
PY
for row in "${clicks[@]}"; do
  IFS='|' read -r button mods _ <<<"$row"
  printf '[Definition]\r\nName=%s %s\r\nExcept=olprobe.exe\r\n\r\n' "$button" "$mods" >>"$app/Keys.ini"
done

start_ostrel "$app"
box=$(probe dialog Information 15000) || fail "no box named the plain left click"
grep -qF "|1 (Left button)" <<<"$box" || fail "the box said: $box"
"$ROOT/scripts/wine-run" notepad.exe >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Untitled - Notepad" 15000 >/dev/null || fail "Notepad did not start"
"$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" keylog "Key Log" "$(winpath "$keylog")" 600000 \
  >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Key Log" 10000 >/dev/null || fail "the key-log window did not appear"

mouse_lines() { grep '^m' "$keylog" 2>/dev/null | sed 's/ *$//' | paste -sd/ || true; }
click_in() {  # title button modifier
  local x y args=()
  front "$1"
  read -r x y <<<"$(client_origin "$1")"
  [[ -z "$3" ]] || args=(keydown "$3")
  args+=(click "$2")
  [[ -z "$3" ]] || args+=(keyup "$3")
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((x + 100)) $((y + 60)) "${args[@]}"
}

typed=""
for row in "${clicks[@]}"; do
  IFS='|' read -r button mods _ _ letter lines <<<"$row"
  what="button $button ${mods:-plain}"
  if [[ $letter != p ]]; then
    click_in "Untitled - Notepad" "$button" "$mods"
    typed+=$letter
    eventually '[[ "$(notepad_text)" == "$typed" ]]' 20 || fail "$what: Notepad holds \"$(notepad_text)\""
    if probe menu 500 >/dev/null; then fail "$what opened a menu in Notepad"; fi
  fi
  : >"$keylog"
  click_in "Key Log" "$button" "$mods"
  eventually '[[ "$(mouse_lines)" == "$lines" ]]' 10 || fail "$what arrived as \"$(mouse_lines)\""
  sleep 0.5
  [[ "$(mouse_lines)" == "$lines" && "$(notepad_text)" == "$typed" ]] ||
    fail "$what arrived as \"$(mouse_lines)\"; Notepad holds \"$(notepad_text)\""
done
# The corner of the screen still pops the OstrelMenu up beside the hook.
probe nomenu 3000 || fail "a menu is open before the gesture"
DISPLAY="$OSTREL_DISPLAY" xdotool mousemove 200 200 sleep 0.3 mousemove 0 0
probe menu 3000 >/dev/null || fail "the mouse gesture did not pop the menu up"
shot mouse-hotkeys
echo "PASS"
