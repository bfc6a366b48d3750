#!/usr/bin/env bash
# The configuration window and the hotkey editor worked from the keyboard alone: Alt and
# an underlined letter press the tool buttons under the tree (Alt+A opens the function
# chooser, Alt+D deletes the selected definition) and lead to the labelled boxes; after
# each refused entry the next text typed lands in the faulty box; a hotkey that another
# definition already has is named on the editor's info line before OK.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir keyboard)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
# Ctrl+Alt (modifier index 6) with T (key index 34 + 19).
open(sys.argv[1], "wb").write(record("Agenda", "", 3, "C:\\agenda.txt")
                              + record("Type", "Macros", 16, "x", key=53, keymod=6))
PY
editor="Configure: Run a program"
# Answers the error box, which must say $1; the editor must still be open.
refused() {
  local msg
  msg=$(probe dialog Error 5000) || fail "no error for: $1"
  [[ "$msg" == *"text=$1"* ]] || fail "expected \"$1\", got: $msg"
  probe gone Error 3000 || fail "the error box stayed"
  probe wait "$editor" 2000 >/dev/null || fail "the editor closed after \"$1\""
  sleep 0.3
}
# The text of an editor box (500 name, 505 target) must become $2.
box_is() {
  eventually "has_control \"$editor\" \"child id=$1 .*text=$2\$\"" 5 ||
    fail "box $1 does not hold \"$2\": $(controls "$editor" | grep "child id=$1 ")"
}

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
probe front Ostrel || true
sleep 1

press alt+a
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Alt+A did not open the function chooser"
press Home Down Down Down Return
probe wait "$editor" 5000 >/dev/null || fail "the chooser did not lead to the hotkey editor"

# Ctrl+Alt+T, as "Type" has it: named before OK.
press Tab Tab
for _ in $(seq 53); do press Down; done
press Tab
for _ in $(seq 6); do press Down; done
eventually "has_control \"$editor\" 'child id=527 .*text=Ctrl+Alt+T is already the HotKey of \"Type\" in the group \"Macros\".'" 5 ||
  fail "no clash on the info line: $(controls "$editor" | grep 'child id=527 ')"
shot keyboard-clash
press Up  # Ctrl+T is free
eventually "! has_control \"$editor\" 'child id=527 .*text=.*is already'" 5 ||
  fail "the clash stayed on the info line after a free choice"

# OK pressed with Alt+O puts the focus on OK; each refusal brings it back to the fault.
press alt+o
refused "You must enter a HotKey name."
typeit "Runner"
box_is 500 "Runner"
press alt+o
refused "Program to run: not specified."
typeit 'run.exe'
box_is 505 'run.exe'
press alt+n  # the name's label: its box, with the text selected
typeit "Agenda"
box_is 500 "Agenda"
press alt+o
refused "Cannot add, That HotKey name already exists."
typeit "Second"
box_is 500 "Second"
shot keyboard-refused
press alt+o
probe gone "$editor" 5000 || fail "OK did not close the editor"
eventually '[[ "$(records)" == *"|Second|4|53|5|run.exe"* ]]' 5 ||
  fail "not stored as typed: $(records)"

# Alt+K leads to the tree; the first entry is Agenda; Alt+D deletes it.
press alt+k Home
sleep 0.5
press alt+d
eventually '[[ "$(records)" != *"|Agenda|"* ]]' 5 || fail "Alt+D did not delete Agenda: $(records)"
[[ "$(records)" == *"|Second|"* && "$(records)" == *"|Type|"* ]] ||
  fail "Alt+D deleted more than the selected definition: $(records)"
shot keyboard-deleted

# Tab leads from the tree to the buttons under it, the arrows move along them and Enter
# clicks the one shown raised: Add first, then (two to the right) Delete.
press alt+k Home
sleep 0.3
press Tab Return
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Tab and Enter from the tree did not press Add"
press Escape
probe gone "Add a new Hotkey" 5000 || fail "Escape did not close the function chooser"
before=$(records | grep -c '|')
press alt+k Home
sleep 0.3
press Tab Right Right Left Right
shot keyboard-toolbar
press Return
eventually '[[ "$(records | grep -c "|")" -lt "$before" ]]' 5 ||
  fail "Tab, Right, Right and Enter did not press Delete: $(records)"
echo "PASS"
