#!/usr/bin/env bash
# The three start-up options in the real program: clicking the boxes stores "OLTaskbar"
# and "OLMouse" in the registry and makes or deletes "Startup\Ostrel.lnk" below the
# user's Programs folder; a restart shows the stored state, renews the link for the
# executable that runs, and with the hide option on starts as just the tray icon, from
# whose menu "Show..." brings the window back.
source "$(dirname "$0")/lib.sh"

OPTIONS_KEY='HKLM\Software\Tessaly\Ostrel\1.0'
USER_KEY='HKCU\Software\Tessaly\Ostrel\1.0'
wine_reg() { "$ROOT/scripts/wine-run" reg "$@" 2>/dev/null | tr -d '\r'; }
optprobe() { "$ROOT/scripts/wine-run" "$BUILD/bin/optprobe.exe" "$@" | tr -d '\r'; }
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }

# The option's stored text ("0", "1"), or "none".
stored() {
  local line
  line=$(wine_reg query "$OPTIONS_KEY" /v "$1" | grep -i "^ *$1 ")
  [[ -n "$line" ]] || { echo none; return; }
  grep -q "REG_SZ" <<<"$line" || { echo "not a string: $line"; return; }
  awk '{print $3}' <<<"$line"
}
# One field of optprobe's "name=value" lines, in lower case.
field() { sed -n "s/^$1=//p" <<<"$2" | tr '[:upper:]' '[:lower:]'; }
checked() { optprobe check "$1" | sed -n 's/^checked=//p'; }
click_box() {
  local x y
  read -r x y < <(optprobe where "$1") || fail "no box $1"
  mouse mousemove "$x" "$y" click 1
}

# The user's Programs folder, as Windows and as Unix paths.
programs=$(wine_reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' \
  /v Programs | sed -n 's/^ *Programs *REG_SZ *//p')
[[ -n "$programs" ]] || fail "the prefix has no Programs folder"
link_win="$programs\\Startup\\Ostrel.lnk"
link_exists() { optprobe link "$link_win" >/dev/null; }

reset_options() {
  wine_reg delete "$OPTIONS_KEY" /f >/dev/null || true
  wine_reg delete "$USER_KEY" /f >/dev/null || true
  optprobe link "$link_win" >/dev/null 2>&1 && "$ROOT/scripts/wine-run" cmd /c del "$link_win" \
    >/dev/null 2>&1
  true
}
# The other tests expect a program that shows its window and has no options stored.
trap 'cleanup; reset_options' EXIT
reset_options

app=$(fresh_app_dir options)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Notes", "", 3, "C:\\notes.txt")
                              + record("Web", "Net", 11, "http://example.org"))
PY

# First start: no options anywhere. The boxes are clear and the first SetOptions of the
# run stores "0" for both values.
start_ostrel "$app"
found=$(probe wait Ostrel 15000) || fail "the configuration window did not appear"
read -r wx wy _ _ < <(rect_of <<<"$found")
sleep 1
for id in 106 107 108; do
  [[ "$(checked $id)" == 0 ]] || fail "box $id checked at a first start"
done
[[ "$(stored OLTaskbar)" == 0 && "$(stored OLMouse)" == 0 ]] \
  || fail "no zeros stored at the first start: $(stored OLTaskbar) $(stored OLMouse)"
link_exists && fail "a start-up link exists before the box was ticked"
shot options-first-start

# Each click stores at once.
mouse mousemove $((wx + 120)) $((wy + 10)) click 1
click_box 106
eventually 'link_exists' 5 || fail "ticking the start-up box made no link"
link=$(optprobe link "$link_win")
echo "$link"
app_win=$(winpath "$app")
[[ "$(field target "$link")" == "${app_win,,}\\ostrel.exe" ]] || fail "the link does not point at the program"
[[ "$(field dir "$link")" == "${app_win,,}\\" ]] || fail "the link's working folder is not the program's"
[[ "$(field show "$link")" == 3 ]] || fail "the link does not start the program maximised"
[[ "$(field desc "$link")" == "no description available" ]] || fail "the link's description is wrong"

click_box 106
eventually '! link_exists' 5 || fail "clearing the start-up box left the link"
click_box 108
eventually '[[ "$(stored OLMouse)" == 1 ]]' 5 || fail "ticking OLMouse stored $(stored OLMouse)"
[[ "$(stored OLTaskbar)" == 0 ]] || fail "OLTaskbar changed with OLMouse"
click_box 107
eventually '[[ "$(stored OLTaskbar)" == 1 ]]' 5 || fail "ticking OLTaskbar stored $(stored OLTaskbar)"
click_box 106
eventually 'link_exists' 5 || fail "ticking the start-up box again made no link"
sleep 0.5
shot options-all-ticked
for id in 106 107 108; do
  [[ "$(checked $id)" == 1 ]] || fail "box $id not checked after its click"
done

# With the hide option on, the close box hides the window and its taskbar button.
probe close Ostrel
eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm visible=0"' 5 \
  || fail "the close box did not hide the window"
shot options-closed-hidden
stop_ostrel

# Second start, from another folder: the stored state comes back, the link now points at
# this copy, and with definitions present the program is only its tray icon.
app2=$(fresh_app_dir options-moved)
cp "$app/Keys.fil" "$app2/"
start_ostrel "$app2"
eventually 'probe info Ostrel >/dev/null 2>&1' 15 || fail "the program did not start again"
sleep 4
info=$(probe info Ostrel)
grep -q "^window class=TOstrelForm visible=0" <<<"$info" || fail "the window shows despite the hide option"
for id in 106 107 108; do
  [[ "$(checked $id)" == 1 ]] || fail "box $id not restored from the stored state"
done
app2_win=$(winpath "$app2")
[[ "$(field target "$(optprobe link "$link_win")")" == "${app2_win,,}\\ostrel.exe" ]] \
  || fail "the link was not renewed for the program that runs: $(optprobe link "$link_win")"
shot options-hidden-start
# Only the icon: its orange bolt in the notification area, and no window on the desktop.
bolt=$(count_colour "$ARTIFACTS/options-hidden-start.png" 1000 745 24 24 240 140 40)
[[ "$bolt" -ge 4 ]] || fail "no tray icon ($bolt orange pixels)"

# The icon's menu: "Show..." is the item above "Terminate", the last one, and is clicked
# as a user would (the keyboard does not reach a menu of a hidden window under Wine).
mouse mousemove 1012 757 click 1
menu=$(probe menu 3000) || fail "a click on the icon did not pop the menu up"
read -r mx my mw mh < <(sed -n 's/.*rect=\([0-9-]*\),\([0-9-]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' <<<"$menu")
mouse mousemove $((mx + 40)) $((my + mh - 27))
sleep 0.3
shot options-tray-menu
mouse click 1
probe wait Ostrel 5000 >/dev/null || fail "Show... did not bring the window back"
sleep 0.5
info=$(probe info Ostrel)  # read whole: grep -q would stop early and break the probe's pipe
grep -q "^window class=TOstrelForm visible=1 iconic=0" <<<"$info" \
  || fail "the window came back minimised"
shot options-shown-again

# Clearing the boxes again: the values go back to "0" and the link goes.
for id in 106 107 108; do click_box $id; done
eventually '! link_exists' 5 || fail "clearing the start-up box left the link"
eventually '[[ "$(stored OLTaskbar)" == 0 && "$(stored OLMouse)" == 0 ]]' 5 \
  || fail "clearing the boxes stored $(stored OLTaskbar) $(stored OLMouse)"
# Without the hide option the close box only minimises.
probe close Ostrel
eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm visible=1 iconic=1"' 5 \
  || fail "the close box did not minimise the window"
echo "PASS"
