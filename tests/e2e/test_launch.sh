#!/usr/bin/env bash
# Launching as users expect, with Wine's Notepad: a variable in the target, a running
# copy brought forward (one process over several presses, also when Ostrel is not in
# front), the toggle that minimises it and brings it back, each window state, a start as
# administrator, and a missing program told in the balloon while Ostrel goes on.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir launch)
# Ctrl+Alt (modifier index 6) with a letter: key index 34 is A.
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" \
  "$(key N) $(key T) $(key X) $(key I) $(key O) $(key E) $(key G)" <<'PY'
import sys
from keysfil import record
path, keys = sys.argv[1], [int(k) for k in sys.argv[2].split()]
n, t, x, i, o, e, g = keys
pad = "%SystemRoot%\\notepad.exe"
recs = [
    record("Pad", "Tools", 4, pad, key=n, keymod=6),
    record("Toggle", "Tools", 4, pad, key=t, keymod=6),
    record("Max", "Show", 4, pad, key=x, keymod=6),
    record("Min", "Show", 4, pad, key=i, keymod=6),
    record("Normal", "Show", 4, pad, key=o, keymod=6),
    record("Admin", "Tools", 4, pad, key=e, keymod=6),
    record("Editor", "Tools", 4, "%SystemRoot%\\no such editor.exe", key=g, keymod=6),
]
open(path, "wb").write(b"".join(recs))
PY
printf '%s\r\n' "[Definition]" "Group=Tools" "Name=Pad" "IfRunning=activate" \
  "[Definition]" "Group=Tools" "Name=Toggle" "IfRunning=toggle" \
  "[Definition]" "Group=Show" "Name=Max" "Show=maximized" \
  "[Definition]" "Group=Show" "Name=Min" "Show=minimized" \
  "[Definition]" "Group=Show" "Name=Normal" "Show=normal" \
  "[Definition]" "Group=Tools" "Name=Admin" "Elevated=1" >"$app/Keys.ini"

start_ostrel_quietly "$app"
title="Untitled - Notepad"
# The Notepad processes with a window of that title.
copies() { probe windows | tr -d '\r' | grep -F "title=$title" | grep -o 'pid=[0-9]*' | sort -u | wc -l; }
state() { probe info "$title" | tr -d '\r' | head -1; }
in_front() { [[ "$(probe foreground | tr -d '\r')" == "$title"* ]]; }
close_all() {
  local n
  for n in 1 2 3 4; do probe kill "$title" >/dev/null 2>&1 || break; done
  eventually '[[ $(copies) -eq 0 ]]' 10 || fail "Notepad did not end"
}

# Bring it forward: none runs, so the first press starts %SystemRoot%\notepad.exe.
press ctrl+alt+n
probe wait "$title" 15000 >/dev/null || fail "Ctrl+Alt+N did not start Notepad from %SystemRoot%"
sleep 1
for round in 1 2 3; do
  probe front Ostrel >/dev/null || true
  eventually '! in_front' 5 || fail "Ostrel did not come in front"
  press ctrl+alt+n
  eventually in_front 5 || fail "press $round did not bring Notepad forward"
done
sleep 1
[[ $(copies) -eq 1 ]] || fail "$(copies) copies of Notepad after four presses"

# Toggle: in front, minimised; pressed again, back and in front; still one copy.
press ctrl+alt+t
eventually '[[ "$(state)" == *"iconic=1"* ]]' 5 || fail "the toggle did not minimise: $(state)"
press ctrl+alt+t
eventually '[[ "$(state)" == *"iconic=0"* ]] && in_front' 5 || fail "the toggle did not restore: $(state)"
press ctrl+alt+n
sleep 1
[[ $(copies) -eq 1 ]] || fail "$(copies) copies of Notepad after the toggles"
shot launch-forward
close_all

# Each window state: a new copy each time, as asked.
for row in "x zoomed=1" "i iconic=1" "o iconic=0"; do
  read -r letter want <<<"$row"
  press "ctrl+alt+$letter"
  probe wait "$title" 15000 >/dev/null || eventually '[[ $(copies) -eq 1 ]]' 10 ||
    fail "Ctrl+Alt+$letter did not start Notepad"
  eventually '[[ "$(state)" == *"$want"* ]]' 5 || fail "Ctrl+Alt+$letter: not $want: $(state)"
  [[ $letter != o || "$(state)" == *"zoomed=0"* ]] || fail "normal started maximised"
  close_all
done

# As administrator: Wine has no prompt, and the program starts.
press ctrl+alt+e
probe wait "$title" 15000 >/dev/null || fail "Ctrl+Alt+E did not start Notepad as administrator"
close_all

# A program that is not there: the balloon names the definition and the reason, no box,
# and Ostrel goes on.
press ctrl+alt+g
told() { probe windows | tr -d '\r' | grep -F '"Tools: Editor" could not run: '; }
eventually told 10 || fail "no balloon for the missing program"
for t in Information Error; do
  if probe wait "$t" 0 >/dev/null; then fail "a \"$t\" box for the missing program"; fi
done
shot launch-missing
probe wait Ostrel 2000 >/dev/null || fail "Ostrel did not go on"
echo "PASS"
