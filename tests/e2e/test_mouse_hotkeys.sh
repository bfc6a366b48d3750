#!/usr/bin/env bash
# Mouse buttons and the wheel as hotkeys, clicked with the test desktop's real pointer: each
# button and wheel direction, plain and with modifiers, runs its definition in Notepad (its
# letter typed there) and is taken whole; with the key-log window in front (which the
# definitions leave out) the same click arrives there once, press and release. A plain left
# click in the file loads switched off and is never taken; a taken right click opens no
# context menu, and Alt let go after a taken turn opens no menu bar.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir mouse-hotkeys)
keylog="$app/keys.log"
# Mouse key indexes: 133 middle, 134 back, 135 forward, 136-139 wheel up, down, left, right,
# 140 left, 141 right. Modifiers: 0 none, 1 Shift, 5 Ctrl, 7 Alt.
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
defs = [("Middle", 133, 0, "m"), ("Back", 134, 5, "b"), ("Forward", 135, 0, "f"),
        ("Up", 136, 7, "u"), ("Down", 137, 0, "d"), ("Tilt left", 138, 1, "l"),
        ("Tilt right", 139, 0, "r"), ("Ctrl left", 140, 5, "c"), ("Ctrl right", 141, 5, "x"),
        ("Plain left", 140, 0, "p")]
open(sys.argv[1], "wb").write(
    b"".join(record(name, "", 16, text, key=key, keymod=mod) for name, key, mod, text in defs))
PY
conditions=""
for name in Middle Back Forward Up Down "Tilt left" "Tilt right" "Ctrl left" "Ctrl right"; do
  conditions+="[Definition]\r\nName=$name\r\nExcept=olprobe.exe\r\n\r\n"
done
printf "$conditions" >"$app/Keys.ini"

start_ostrel "$app"
box=$(probe dialog Information 15000) || fail "no box named the plain left click"
grep -q "Plain left (Left button)" <<<"$box" || fail "the box said: $box"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
grep -q "Name=Plain left" "$app/Keys.ini" || fail "the switched-off click was not stored"

"$ROOT/scripts/wine-run" notepad.exe >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Untitled - Notepad" 15000 >/dev/null || fail "Notepad did not start"
"$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" keylog "Key Log" "$(winpath "$keylog")" 600000 \
  >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Key Log" 10000 >/dev/null || fail "the key-log window did not appear"

notepad_text() { probe edittext "Untitled - Notepad" | tr -d '\r\n'; }
# The log's mouse lines, without the blank that stands for no modifier held.
mouse_lines() {
  if [[ -f "$keylog" ]]; then grep -E '^(M|V|H|ctx)' "$keylog" | sed 's/ *$//' || true; fi
}
# Points at the middle of a window's client area.
point_at() {
  local x y
  read -r x y <<<"$(client_origin "$1")"
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((x + 100)) $((y + 60))
}
# A click with modifiers: xdotool's button number, then the keys held around it.
click() {
  local button=$1 args=()
  shift
  for k in "$@"; do args+=(keydown "$k"); done
  args+=(click "$button")
  for k in "$@"; do args+=(keyup "$k"); done
  DISPLAY="$OSTREL_DISPLAY" xdotool "${args[@]}"
}

# xdotool's buttons: 2 middle, 8 back, 9 forward, 4/5 wheel up/down, 6/7 tilt left/right,
# 1 left, 3 right. What the key log gets when such a click passes.
clicks=("2||m|M+04|M-04" "8|ctrl|b|M+05 C|M-05" "9||f|M+06|M-06" "4|alt|u|V+120 A|"
  "5||d|V-120|" "6|shift|l|H-120 S|" "7||r|H+120|" "1|ctrl|c|M+01 C|M-01"
  "3|ctrl|x|M+02 C|M-02")
typed=""
for row in "${clicks[@]}"; do
  IFS='|' read -r button mods letter press release <<<"$row"
  # In Notepad the definition runs, and Notepad sees nothing of the click.
  front "Untitled - Notepad"
  point_at "Untitled - Notepad"
  click "$button" $mods
  typed+=$letter
  eventually '[[ "$(notepad_text)" == "$typed" ]]' 20 ||
    fail "button $button ${mods:-plain}: Notepad holds \"$(notepad_text)\", not \"$typed\""
  if [[ $button == 3 ]]; then
    if probe menu 1000 >/dev/null; then fail "the taken right click opened a context menu"; fi
  fi
  # In the key-log window, left out by every definition, the click arrives once.
  front "Key Log"
  point_at "Key Log"
  : >"$keylog"
  click "$button" $mods
  eventually '[[ -n "$(mouse_lines)" ]]' 10 || fail "button $button ${mods:-plain} did not pass"
  sleep 0.5
  expected=$(printf '%s\n' "$press" ${release:+"$release"})
  [[ $button == 3 ]] && expected+=$'\nctx'
  [[ "$(mouse_lines)" == "$expected" ]] ||
    fail "button $button ${mods:-plain} passed as \"$(mouse_lines)\", not \"$expected\""
  [[ "$(notepad_text)" == "$typed" ]] || fail "the click elsewhere typed into Notepad"
done
shot mouse-hotkeys-passed

# A plain left click is the user's: it reaches the window, and the switched-off definition
# types nothing.
: >"$keylog"
click 1
eventually '[[ -n "$(mouse_lines)" ]]' 10 || fail "a plain left click did not arrive"
sleep 0.5
[[ "$(mouse_lines)" == $'M+01\nM-01' ]] || fail "the plain left click arrived as \"$(mouse_lines)\""

# Alt let go after a taken turn opens no menu bar: Notepad keeps its focus and types on.
front "Untitled - Notepad"
point_at "Untitled - Notepad"
click 4 alt
typed+=u
eventually '[[ "$(notepad_text)" == "$typed" ]]' 20 || fail "Alt+wheel up: Notepad holds \"$(notepad_text)\""
press e
typed+=e
eventually '[[ "$(notepad_text)" == "$typed" ]]' 10 ||
  fail "after Alt+wheel up a key went to the menu bar: Notepad holds \"$(notepad_text)\""
shot mouse-hotkeys-taken
echo "PASS"
