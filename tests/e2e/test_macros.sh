#!/usr/bin/env bash
# Keystroke macros in the real program, typed into Wine's Notepad: a hotkey of the
# "Send Keys" type types its macro (text, TAB, ENTER, the Shift toggle, braces, a pause,
# a named key), and a hotkey of the "Sendkeys Menu" type pops up the macro menu of a list
# file below Notepad's caret, from the first press, where choosing an item types its
# macro. Notepad stays in front through macros in
# a row, and the hotkey's Ctrl and Alt, held after the macro started, do not stick.
# Japanese and Russian macros type exactly, and so do characters by number ({U+...}).
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir macros)
# Ctrl+Alt (modifier index 6) with a letter: key index 34 is A.
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
MACRO='Hello{TAB}World{ENTER}{SHIFT}ab{SHIFT}c{{}x{}}{PAUSE 3}{BS}!'
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$MACRO" "$(key T) $(key L) $(key S)" <<'PY'
import sys
from keysfil import record
path, macro, keys = sys.argv[1], sys.argv[2], [int(k) for k in sys.argv[3].split()]
t, l, s = keys
open(path, "wb").write(
    record("Type", "Macros", 16, macro, key=t, keymod=6)
    + record("List", "Macros", 17, "SendKeyList_1.skl", key=l, keymod=6)
    + record("Short", "Macros", 16, "<1>", key=s, keymod=6))
PY
printf 'Greeting=Hi there\r\nEmpty=\r\nTwo tabs={TAB 2}done\r\n' >"$app/SendKeyList_1.skl"

# The hex bytes of a string.
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
start_blank_notepad

press ctrl+alt+t
expected=$(hex $'Hello\tWorld')$newline$(hex 'abc{x!')
eventually '[[ "$(notepad_hex)" == "$expected" ]]' 20 ||
  fail "the macro typed $(notepad_hex), not $expected"
shot macros-typed

# The macro menu appears at the first press, the OstrelMenu never opened: its top left
# corner just below Notepad's caret, the whole menu inside the work area.
read -r cx cy cw ch <<<"$(probe caret "Untitled - Notepad" | rect_of)"
[[ -n "${ch:-}" ]] || fail "Notepad shows no caret"
press ctrl+alt+l
menu=$(probe menu 3000) || fail "Ctrl+Alt+L right after start-up did not pop the macro menu up"
read -r mx my mw mh <<<"$(rect_of <<<"$menu")"
read -r wx wy ww wh <<<"$(probe workarea | rect_of)"
shot macros-menu
echo "caret $cx,$cy ${cw}x$ch; menu $mx,$my ${mw}x$mh"
((mx >= cx - 2 && mx <= cx + 2)) || fail "the macro menu's left edge $mx is not at the caret's $cx"
((my >= cy + ch - 1 && my <= cy + ch + 3)) ||
  fail "the macro menu's top $my is not just below the caret's line ($cy + $ch)"
((mx >= wx && my >= wy && mx + mw <= wx + ww && my + mh <= wy + wh)) ||
  fail "the macro menu $mx,$my ${mw}x$mh stands out of the work area $wx,$wy ${ww}x$wh"
sleep 1  # a menu closed within half a second of opening comes back
press Down Return
probe nomenu 3000 || fail "choosing an item did not close the macro menu"
expected+=$(hex "Hi there")
eventually '[[ "$(notepad_hex)" == "$expected" ]]' 20 ||
  fail "the chosen item typed $(notepad_hex), not $expected"

# Macros in a row, with nothing but their hotkeys in between: each finds Notepad still
# in front and types into it.
typed() {  # text what
  expected+=$(hex "$1")
  eventually '[[ "$(notepad_hex)" == "$expected" ]]' 20 ||
    fail "$2 typed $(notepad_hex), not $expected (in front: $(probe foreground))"
}
for n in 1 2 3; do
  press ctrl+alt+s
  typed "<1>" "macro $n in a row"
done
press ctrl+alt+l
probe menu 3000 >/dev/null || fail "the macro menu did not pop up after three macros"
sleep 1
press Down Return
probe nomenu 3000 || fail "choosing an item did not close the macro menu"
typed "Hi there" "the macro-menu item after three macros"
press ctrl+alt+s
typed "<1>" "the macro after the macro menu"
[[ "$(probe foreground)" == "Untitled - Notepad"* ]] || fail "Notepad is no longer in front"

# Ctrl and Alt of the hotkey still held while the macro types, and let go after: the
# next key the user types arrives plain (a stuck Ctrl would make it Ctrl+X).
DISPLAY="$OSTREL_DISPLAY" xdotool keydown ctrl alt
DISPLAY="$OSTREL_DISPLAY" xdotool key s
typed "<1>" "the macro with Ctrl+Alt held"
sleep 0.5
DISPLAY="$OSTREL_DISPLAY" xdotool keyup alt ctrl
press x
typed "x" "the key typed after the macro"
shot macros-in-a-row

# A row per system locale (Wine's code page follows LANG: 932, 1251; messages stay
# English): the macro stored in its code page and what Notepad must hold. In 932 the
# trail bytes of "ボ" and "ソ" are "{" and "\".
stop_ostrel
probe kill "Untitled - Notepad" >/dev/null 2>&1 || true
saved_lang=${LANG-}
while IFS='|' read -r -u 3 lang codepage macro text; do
  PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$codepage" "$macro" "$(key J)" <<'PY'
import sys
from keysfil import record
path, codepage, macro, key = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
stored = macro.encode(codepage).decode("latin-1")
open(path, "wb").write(record("Lang", "", 16, stored, key=key, keymod=6))
PY
  export LANG=${lang:-$saved_lang} LC_MESSAGES=C
  start_ostrel "$app"
  probe wait Ostrel 15000 >/dev/null || fail "the program did not start under LANG=$LANG"
  "$ROOT/scripts/wine-run" notepad.exe >/dev/null 2>&1 &
  HELPERS+=($!)
  probe wait "Untitled - Notepad" 15000 >/dev/null || fail "Notepad did not start under LANG=$LANG"
  notepad_front
  press ctrl+alt+j
  expected=$(python3 -c 'import sys; t, nl = sys.argv[1], bytes.fromhex(sys.argv[2])
print(nl.join(p.encode() for p in t.split("\\n")).hex())' "$text" "$newline")
  eventually '[[ "$(notepad_hex)" == "$expected" ]]' 20 ||
    fail "under LANG=$LANG the macro typed $(notepad_hex), not $expected"
  shot "macros-${lang:-unicode}"
  stop_ostrel
  probe kill "Untitled - Notepad" >/dev/null 2>&1 || true
  probe gone "Untitled - Notepad" 5000 || fail "Notepad did not end"
done 3<<'ROWS'
ja_JP.UTF-8|cp932|ボタン表示{ENTER}ソ|ボタン表示\nソ
ru_RU.UTF-8|cp1251|Привет, мир|Привет, мир
|cp1252|a{U+2192}b{U+1F600}c|a→b😀c
ROWS
export LANG=$saved_lang
unset LC_MESSAGES
echo "PASS"
