#!/usr/bin/env bash
# Keys.fil held by another program for the first moments of the set-up (as an antivirus
# or backup tool can at log-on): the program waits for it, loads every definition (its
# hotkey runs), says nothing, and the file is byte for byte what it was 10 s later.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir brief-lock)
out="$app/ran.txt"
# Already in key-text order, so the set-up's rewrite stores the same bytes. Ctrl+Alt
# (modifier index 6) + R (key index 51) runs cmd.exe, which appends a line to a file.
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(winpath "$out")" <<'PY'
import sys
from keysfil import record
path, out = sys.argv[1], sys.argv[2]
open(path, "wb").write(
    record("Agenda", "", 3, "C:\\agenda.txt")
    + record("Run", "Tools", 4, "C:\\windows\\system32\\cmd.exe", f"  /c echo ran>>{out}  ",
             key=51, keymod=6))
PY
before=$(sha256sum <"$app/Keys.fil")
keys=$(winpath "$app/Keys.fil")

# Held from before the start until 2 s after the main window exists: the set-up, 1 s
# after that, meets the file held for about another second.
probe hold "$keys" 2000 TOstrelForm >"$app/hold.log" &
holder=$!
eventually 'grep -q holding "$app/hold.log" 2>/dev/null' 10 || fail "could not hold the file open"

start_ostrel "$app"
probe wait Ostrel 20000 >/dev/null || fail "the program did not show its window"
wait "$holder" || fail "the holder failed"
grep -q released "$app/hold.log" || fail "the holder did not let go"
for title in Information Error; do
  if probe wait "$title" 0 >/dev/null; then fail "unexpected \"$title\" box at start-up"; fi
done
press ctrl+alt+r
eventually '[[ -f "$out" ]] && grep -q ran "$out"' 15 || fail "the loaded hotkey did not run"
shot brief-lock

started=$SECONDS
eventually '(( SECONDS - started >= 10 ))' 15
[[ "$(sha256sum <"$app/Keys.fil")" == "$before" ]] || fail "Keys.fil changed"
for f in Keys.fil.bak Keys.fil.new; do [[ ! -e "$app/$f" ]] || fail "$f appeared"; done
echo "PASS"
