#!/usr/bin/env bash
# Abbreviations typed into Wine's Notepad through the test desktop's keyboard, as a user
# types them: at a word's end with the ending character after the text, at once for an
# immediate one, never inside a word, in the case typed; a macro menu's pops up, and gives
# back what was typed when closed with no choice; another kind's ending character stays
# where it was typed; Esc, a click and another window in front forget what was typed, and
# typing that goes on in another window is not joined to it; nothing fires in a password
# box, in a program the abbreviation is not for, or for a definition switched off.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir abbreviations)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(
    record("Address", "", 16, "12 Main St")
    + record("Back", "", 16, "be right back")
    + record("Sign", "", 16, "Signed")
    + record("Pad", "", 16, "for wordpad")
    + record("Menu", "", 17, "SendKeyList_1.skl")
    + record("Config", "", 6, "")
    + record("Off", "", 16, "switched off"))
PY
printf 'Greeting=Hi there\r\n' >"$app/SendKeyList_1.skl"
printf '%s\r\n' '[Definition]' 'Name=Address' 'Abbreviation=;addr' \
  '[Definition]' 'Name=Back' 'Abbreviation=brb' \
  '[Definition]' 'Name=Sign' 'Abbreviation=;sig' 'Immediate=1' \
  '[Definition]' 'Name=Pad' 'Only=wordpad.exe' 'Abbreviation=;wp' \
  '[Definition]' 'Name=Menu' 'Abbreviation=;m' '[Definition]' 'Name=Config' 'Abbreviation=;cfg' \
  '[Definition]' 'Name=Off' 'Hotkey=off' 'Abbreviation=;off' >"$app/Keys.ini"

# Types into a cleared Notepad, brought in front afresh (under Wine the first key after a
# macro can be lost until another window has been in front), and waits for the text.
after_typing() {  # keys expected what
  local try
  for try in 1 2; do
    front "Key Log"
    notepad_front
    press ctrl+a BackSpace
    eventually '[[ -z "$(notepad_text)" ]]' 5 && break
  done
  [[ -z "$(notepad_text)" ]] || fail "Notepad's text could not be cleared"
  typeit "$1"
  want=$2
  eventually '[[ "$(notepad_text)" == "$want" ]]' 10 || fail "$3: Notepad holds \"$(notepad_text)\", not \"$2\""
}

# The text arrives and stays: nothing fires a moment later.
holds_still() {  # expected what
  want=$1
  eventually '[[ "$(notepad_text)" == "$want" ]]' 10 || fail "$2: Notepad holds \"$(notepad_text)\""
  sleep 1
  [[ "$(notepad_text)" == "$1" ]] || fail "$2: something fired, Notepad holds \"$(notepad_text)\""
}

# Types into a window of its own with an edit box (a password box, or a plain one) and
# prints what the box holds once the window is closed.
boxed() {  # kind title keys
  local out="$app/$1.out"
  "$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" "$1" "$2" 60000 >"$out" 2>&1 &
  HELPERS+=($!)
  probe wait "$2" 10000 >/dev/null || fail "the window \"$2\" did not appear"
  front "$2"
  typeit "$3"
  sleep 1
  probe close "$2" || fail "the window \"$2\" could not be closed"
  eventually 'grep -q "^password=" "$out"' 10 || fail "the window \"$2\" did not tell its text"
  grep '^password=' "$out" | tr -d '\r'
}

start_ostrel_quietly "$app"
start_blank_notepad
"$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" keylog "Key Log" "$(winpath "$app/keys.log")" 600000 \
  >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Key Log" 10000 >/dev/null || fail "the key-log window did not appear"

after_typing ";addr " "12 Main St " "a word's end"
after_typing "ok, Brb." "ok, Be right back." "an initial capital, ended by a full stop"
after_typing "BRB!" "BE RIGHT BACK!" "capitals"
after_typing "ok ;sig" "ok Signed" "an immediate one"
shot abbreviations-typed
after_typing "xbrb ab" "xbrb ab" "inside a word"
holds_still "xbrb ab" "inside a word"
after_typing ";wp." ";wp." "one only for WordPad"
holds_still ";wp." "one only for WordPad"
after_typing ";off " ";off " "one switched off"
holds_still ";off " "one switched off"

# A macro menu: a line chosen types with the ending character after it; Esc gives back
# what was typed.
menu_then() {  # ending keys
  after_typing ";m" ";m" "the start"
  typeit "$1"
  probe menu 3000 >/dev/null || fail "\";m$1\" did not pop the macro menu up"
  sleep 1  # a menu closed within half a second of opening comes back
  press "${@:2}"
  probe nomenu 3000 || fail "the macro menu did not close"
}
menu_then . Down Return
holds_still "Hi there." "a line chosen from the macro menu"
menu_then " " Escape
holds_still ";m " "a macro menu closed with no choice"
# An action that brings another window in front: the ending character stays in Notepad.
after_typing "ok ;cfg." "ok ." "a definition that shows Ostrel's window"
[[ "$(probe foreground)" == Ostrel* ]] || fail "\";cfg.\" did not bring Ostrel's window in front"

# What was typed is forgotten at Esc, a click in the text and another window in front.
for forget in "press Escape" click_notepad "front 'Key Log'; notepad_front"; do
  after_typing "br" "br" "the start"
  eval "$forget"
  typeit "b "
  holds_still "brb " "after $forget"
done
# Typing goes on in another window: the start typed in Notepad is not its.
after_typing "br" "br" "the start"
[[ "$(boxed editbox "Other" "b ")" == "password=b " ]] || fail "an abbreviation begun in Notepad fired in another window"
[[ "$(notepad_text)" == "br" ]] || fail "Notepad holds \"$(notepad_text)\", not \"br\""

# A password box keeps what is typed into it.
[[ "$(boxed password "Password" ";addr ")" == "password=;addr " ]] || fail "an abbreviation fired in a password box"
echo "PASS"
