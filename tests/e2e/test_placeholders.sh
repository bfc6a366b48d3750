#!/usr/bin/env bash
# Placeholders in macros, typed by their hotkeys into Wine's Notepad: {DATE:yyyy-MM-dd}
# types today's date; {CLIPBOARD} types what the user copied, a "{ENTER}" in it as those
# seven characters; {CURSOR} leaves the caret where it stood, so the next key the user
# types lands there. The caret's return is checked typed as keyboard input and posted
# (the option "OLSendInput" at "0").
source "$(dirname "$0")/lib.sh"
trap 'cleanup; forget_option OLSendInput' EXIT
forget_option OLSendInput

app=$(fresh_app_dir placeholders)
# Ctrl+Alt (modifier index 6) with a letter: key index 34 is A.
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(key D) $(key P) $(key U)" <<'PY'
import sys
from keysfil import record
path, (d, p, u) = sys.argv[1], [int(k) for k in sys.argv[2].split()]
open(path, "wb").write(
    record("Date", "", 16, "{DATE:yyyy-MM-dd}", key=d, keymod=6)
    + record("Clip", "", 16, "[{CLIPBOARD}]", key=p, keymod=6)
    + record("Cursor", "", 16, "<{CURSOR}>", key=u, keymod=6))
PY
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

start_ostrel_quietly "$app"
start_blank_notepad

before=$(date +%F)
press ctrl+alt+d
after=$(date +%F)
eventually '[[ "$(notepad_hex)" == "$(hex "$before")" || "$(notepad_hex)" == "$(hex "$after")" ]]' 20 ||
  fail "{DATE:yyyy-MM-dd} typed $(notepad_hex), not $before"
shot placeholders-date
press ctrl+a BackSpace
eventually '[[ -z "$(notepad_hex)" ]]' 10 || fail "Notepad's text could not be cleared"

# The user copies "{ENTER}" from Notepad itself.
typeit '{ENTER}'
eventually '[[ "$(notepad_hex)" == "$(hex "{ENTER}")" ]]' 10 || fail "could not type {ENTER}"
press ctrl+a ctrl+c BackSpace
eventually '[[ -z "$(notepad_hex)" ]]' 10 || fail "Notepad's text could not be cleared"
press ctrl+alt+p
eventually '[[ "$(notepad_hex)" == "$(hex "[{ENTER}]")" ]]' 20 ||
  fail "{CLIPBOARD} typed $(notepad_hex), not [{ENTER}]"
shot placeholders-clipboard

# Each way types after what the round before left: "<" and ">" with the caret back
# between them, where the x typed next lands.
for way in input posted; do
  if [[ $way == posted ]]; then
    stop_ostrel
    store_option OLSendInput 0
    # Under Wine, Notepad brought in front by another program after a new window came up
    # over it gets no keys from the test desktop: a new Notepad starts after Ostrel's window.
    probe kill "Untitled - Notepad" >/dev/null
    start_ostrel_quietly "$app"
    probe close Ostrel
    start_blank_notepad
  fi
  press ctrl+End
  before=$(notepad_hex)
  press ctrl+alt+u
  eventually '[[ "$(notepad_hex)" == "$before$(hex "<>")" ]]' 20 ||
    fail "the {CURSOR} macro ($way) typed $(notepad_hex), not $before + <>"
  sleep 0.5
  press x
  eventually '[[ "$(notepad_hex)" == "$before$(hex "<x>")" ]]' 10 ||
    fail "after the {CURSOR} macro ($way) the key typed made $(notepad_hex), not $before + <x>"
  shot "placeholders-cursor-$way"
done
echo "PASS"
