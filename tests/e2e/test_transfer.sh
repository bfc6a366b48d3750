#!/usr/bin/env bash
# Definitions that travel. "/import" into a running copy merges by the rules: one already
# there is skipped and left exactly, one whose combination is taken comes in switched off
# with its key kept, a list file whose name is taken comes in renamed. "/export", then
# "/import" into an empty folder (where the start becomes the running copy), gives the
# same definitions. The window's Export and Import go through the standard dialogs,
# driven by keyboard. (The same file twice and damaged files: the native tests.)
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir transfer)
set_dir="$BUILD/e2e-run/transfer-set"
rm -rf "$set_dir"
mkdir -p "$set_dir"
PYTHONPATH="$E2E_DIR" python3 - "$app" "$set_dir" <<'PY'
import sys
from keysfil import record
app, src = sys.argv[1:3]
open(app + "/Keys.fil", "wb").write(
    record("Mail", "Net", 13, "mailto:friend@example.org", key=20, keymod=6))
open(app + "/Phrases.skl", "wb").write(b"Hi=Hello there\r\n")
open(src + "/Set.fil", "wb").write(
    record("Mail", "Net", 13, "mailto:other@example.org")
    + record("Calc", "Tools", 4, "calc.exe", key=20, keymod=6)
    + record("Phrases", "Tools", 17, "Phrases.skl")
    + record("Web", "Tools", 11, "http://www.example.org", key=21, keymod=6))
open(src + "/Set.ini", "wb").write(b"[Definition]\r\nGroup=Tools\r\nName=Web\r\nOnly=notepad.exe\r\n")
open(src + "/Phrases.skl", "wb").write(b"Bye=See you\r\n")
open(src + "/Extra.fil", "wb").write(record("Extra", "More", 3, "C:\\windows\\win.ini"))
PY

# A later start run from `folder` with a command line; its exit code in $second_rc.
second() {  # folder args...
  local folder=$1
  shift
  second_rc=0
  (cd "$folder" && timeout 60 "$ROOT/scripts/wine-run" "$app/Ostrel.exe" "$@") \
    >"$app/second.log" 2>&1 || second_rc=$?
}
# The box $1 of the running copy: photographed as $2, its text printed, closed with OK.
take_box() {  # title shot
  probe wait "$1" 15000 >/dev/null || fail "no \"$1\" box"
  sleep 0.5
  shot "$2"
  probe dialog "$1" 2000 | tr -d '\r'
}
# Keys.ini's sections as "Group/Name: key=value" lines, the stamp left out.
sections() {
  awk -F= '/^\[/ {g = n = ""} /^Group=/ {g = $2} /^Name=/ {n = $2}
           /^(Only|Except|Hotkey)=/ {print g "/" n ": " $0}' "$1" | tr -d '\r' | sort
}

start_ostrel_quietly "$app"
mail_before=$(records | grep "^Net|Mail|")
phrases_before=$(sha256sum <"$app/Phrases.skl")

# Handed over with a path relative to the later start's current folder.
second "$set_dir" /import Set.fil
((second_rc == 0)) || fail "the /import start ended with $second_rc"
box=$(take_box Information transfer-import-box)
[[ $box == *"3 definitions imported"*"Net: Mail"*"Tools: Calc"* ]] || fail "the box said: $box"
[[ $(records | grep "^Net|Mail|") == "$mail_before" ]] || fail "the present Mail was changed"
[[ $(records | grep -c "|Mail|") == 1 ]] || fail "Mail came in twice"
has_record "^Tools|Calc|4|20|6|calc.exe|" || fail "Calc did not keep its key: $(records)"
has_record "^Tools|Phrases|17|0|0|SendKeyList_1.skl|" || fail "Phrases' list was not renamed"
cmp -s "$set_dir/Phrases.skl" "$app/SendKeyList_1.skl" || fail "the renamed list file differs"
[[ $(sha256sum <"$app/Phrases.skl") == "$phrases_before" ]] || fail "Phrases.skl was overwritten"
[[ $(sections "$app/Keys.ini") == $'Tools/Calc: Hotkey=off\nTools/Web: Only=notepad.exe' ]] ||
  fail "Keys.ini's conditions: $(sections "$app/Keys.ini")"

# /export of everything, answered by the running copy.
second "$set_dir" /export "$(winpath "$set_dir/All.fil")"
((second_rc == 0)) || fail "the /export start ended with $second_rc"
cmp -s "$app/Keys.fil" "$set_dir/All.fil" || fail "the export differs from Keys.fil"
stop_ostrel

# Into an empty folder: with no copy running this start becomes it and imports.
full="$app"
app=$(fresh_app_dir transfer-empty)
start_ostrel "$app" /import "$(winpath "$set_dir/All.fil")"
take_box Information transfer-import-empty >/dev/null
cmp -s "$full/Keys.fil" "$app/Keys.fil" || fail "the imported set differs: $(records)"
[[ $(sections "$full/Keys.ini") == $(sections "$app/Keys.ini") ]] || fail "the conditions differ"
cmp -s "$full/SendKeyList_1.skl" "$app/SendKeyList_1.skl" || fail "the list file differs"

# The window: the group Tools (second node, after Net) exported through the save dialog.
front Ostrel
press alt+k Home Down alt+e
probe wait "Save As" 10000 >/dev/null || fail "Export opened no save dialog"
has_control "Save As" "^child id=1148 .*text=Tools.fil$" || fail "Tools.fil is not suggested"
typeit "$(winpath "$set_dir/Tools.fil")"
shot transfer-save-dialog
press Return
eventually '[[ -s "$set_dir/Tools.fil" ]]' 10 || fail "the save dialog wrote no file"
[[ $(app=$set_dir; cp "$set_dir/Tools.fil" "$set_dir/Keys.fil"; records) == \
   "$(records | grep "^Tools|")" ]] || fail "Tools.fil does not hold the group Tools alone"
[[ $(sections "$set_dir/Tools.ini") == $(sections "$app/Keys.ini") ]] || fail "Tools.ini differs"

# And a file imported through the open dialog.
front Ostrel
press alt+i
probe wait Open 10000 >/dev/null || fail "Import opened no open dialog"
typeit "$(winpath "$set_dir/Extra.fil")"
shot transfer-open-dialog
press Return
take_box Information transfer-import-window >/dev/null
has_record "^More|Extra|3|" || fail "Extra was not imported: $(records)"
echo "PASS"
