#!/usr/bin/env bash
# Without Keys.fil the program starts empty and writes no file; with a sound file in
# key-text order it starts quietly and leaves the file exactly as it was.
source "$(dirname "$0")/lib.sh"

no_dialogs() {
  for title in Information Error; do
    if probe wait "$title" 0 >/dev/null; then fail "unexpected \"$title\" box"; fi
  done
}

app=$(fresh_app_dir no-file)
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
no_dialogs
[[ ! -e "$app/Keys.fil" && ! -e "$app/Keys.fil.new" ]] || fail "a file was written for no definitions"
stop_ostrel

app=$(fresh_app_dir "sound file")  # a folder name with a blank, as under Program Files
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(
    record("Agenda", "", 3, "C:\\agenda.txt") + record("Explorer", "Apps", 1, "C:\\")
    + record("Mail", "Net", 13, "mailto:friend@example.org", key=20, keymod=6))
PY
before=$(sha256sum <"$app/Keys.fil")
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
no_dialogs
[[ "$(sha256sum <"$app/Keys.fil")" == "$before" ]] || fail "a sound, sorted file was changed"
[[ ! -e "$app/Keys.fil.bak" && ! -e "$app/Keys.fil.new" ]] || fail "stray backup or staging file"
echo "PASS"
