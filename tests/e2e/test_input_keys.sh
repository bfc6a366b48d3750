#!/usr/bin/env bash
# Macros typed as keyboard input in the real program, into Wine's Notepad: what the user
# types while a 600-key macro runs arrives after it, in order; bringing another window in
# front mid-macro stops it within one batch of keys, with a balloon; and with the option
# "OLSendInput" at "0" macros are posted to the window as before.
source "$(dirname "$0")/lib.sh"

trap 'cleanup; forget_option OLSendInput' EXIT
forget_option OLSendInput

app=$(fresh_app_dir input_keys)
# Ctrl+Alt (modifier index 6) with a letter: key index 34 is A.
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(key T) $(key Y) $(key P)" <<'PY'
import sys
from keysfil import record
path, keys = sys.argv[1], [int(k) for k in sys.argv[2].split()]
t, y, p = keys
# Braced characters are typed key by key (as capitals), never pasted; the pause leaves
# time to type.
open(path, "wb").write(
    record("Long", "Input", 16, "{x 300}{PAUSE 30}{x 300}", key=t, keymod=6)
    + record("Switch", "Input", 16, "{y 100}{PAUSE 30}{y 300}", key=y, keymod=6)
    + record("Posted", "Input", 16, "posted", key=p, keymod=6))
PY
keylog="$app/keys.log"
count_of() { local t; t=$(notepad_text); t=${t//[^$1]/}; echo ${#t}; }

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
start_blank_notepad
"$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" keylog "Key Log" "$(winpath "$keylog")" 600000 \
  >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Key Log" 10000 >/dev/null || fail "the key-log window did not appear"

# The user types during the macro: after it, in order.
notepad_front
press ctrl+alt+t
eventually '[[ $(count_of X) -ge 300 ]]' 20 || fail "the first half of the macro did not arrive"
[[ $(count_of X) -lt 600 ]] || fail "the macro was through before the user typed"
typeit "hello"
X600=$(printf 'X%.0s' $(seq 600))
eventually '[[ "$(notepad_text)" == "${X600}hello" ]]' 30 ||
  fail "Notepad holds $(count_of X) X and \"$(notepad_text | tr -d X)\", not 600 X and then hello"
shot input-keys-typed
# Under Wine the first key pressed in Notepad after a hotkey's macro is lost, whichever
# way the macro was typed; a change of the window in front sets it right.
front "Key Log"
notepad_front
press ctrl+a BackSpace
eventually '[[ -z "$(notepad_text)" ]]' 10 || fail "Notepad's text could not be cleared"

# Another window in front mid-macro: the macro stops, the new window gets at most one
# batch, and the balloon says so.
press ctrl+alt+y
eventually '[[ $(count_of Y) -ge 100 ]]' 20 || fail "the macro's first keys did not arrive"
front "Key Log"
sleep 3
ys=$(grep -c '^+59' "$keylog" || true)
((ys <= 20)) || fail "the window brought in front got $ys keys of the macro"
[[ $(count_of Y) -lt 400 ]] || fail "the macro went on typing into Notepad"
told() { probe windows | tr -d '\r' | grep -F 'Ostrel stopped typing into "Untitled - Notepad": another program came in front.'; }
eventually told 10 || fail "no balloon for the stopped macro"
shot input-keys-switched

# Posted as before.
stop_ostrel
store_option OLSendInput 0
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "Ostrel did not start again"
notepad_front
before=$(notepad_text)
press ctrl+alt+p
eventually '[[ "$(notepad_text)" == "${before}posted" ]]' 20 ||
  fail "the posted macro typed \"$(notepad_text | tr -d Y)\""
echo "PASS"
