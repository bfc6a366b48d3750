#!/usr/bin/env bash
# One running copy: a second Ostrel.exe started beside the first asks it for its window
# and ends at once; the file, the notification area and the first copy are as they were.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir one-copy)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Agenda", "", 3, "C:\\agenda.txt")
                              + record("Mail", "Net", 13, "mailto:friend@example.org",
                                       key=20, keymod=6))
PY
start_ostrel "$app"
first_pid=$OSTREL_PID
probe wait Ostrel 15000 >/dev/null || fail "the first copy's window did not appear"
sleep 1
# Minimised by its close box: the second start must bring it back.
probe close Ostrel
eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm .*iconic=1"' 5 \
  || fail "the close box did not minimise the window"
before=$(sha256sum <"$app/Keys.fil")
stamp=$(stat -c %Y.%s "$app/Keys.fil")

# What Wine itself needs to start and end a program that does nothing, under this load.
t0=$(date +%s%N)
probe foreground >/dev/null
wine_ms=$((($(date +%s%N) - t0) / 1000000))
t0=$(date +%s%N)
"$ROOT/scripts/wine-run" "$app/Ostrel.exe" >"$app/second.log" 2>&1 &
second=$!
deadline=$((SECONDS + 20))
while kill -0 "$second" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.05; done
kill -0 "$second" 2>/dev/null && fail "the second copy is still running after 20 s"
wait "$second" || fail "the second copy ended with an error"
second_ms=$((($(date +%s%N) - t0) / 1000000))
echo "second copy ended after ${second_ms} ms (Wine's own start and end: ${wine_ms} ms)"
((second_ms - wine_ms < 2000)) || fail "the second copy took ${second_ms} ms"

eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm visible=1 iconic=0"' 5 \
  || fail "the first copy's window was not shown: $(probe info Ostrel | head -1)"
kill -0 "$first_pid" 2>/dev/null || fail "the first copy ended"
[[ $(probe windows | grep -c "class=TOstrelForm ") == 1 ]] || fail "more than one main window"
sleep 2
shot one-copy
# One icon: its orange bolt at the right end of the notification area, none beside it.
bolt=$(count_colour "$ARTIFACTS/one-copy.png" 1000 745 24 24 240 140 40)
others=$(count_colour "$ARTIFACTS/one-copy.png" 700 745 300 24 240 140 40)
echo "notification area: $bolt orange pixels in the last icon, $others left of it"
[[ "$bolt" -ge 4 ]] || fail "no notification icon"
[[ "$others" -eq 0 ]] || fail "a second notification icon"
[[ "$(sha256sum <"$app/Keys.fil")" == "$before" ]] || fail "Keys.fil was changed"
[[ "$(stat -c %Y.%s "$app/Keys.fil")" == "$stamp" ]] || fail "Keys.fil was rewritten"
[[ ! -e "$app/Keys.fil.new" && ! -e "$app/Keys.fil.bak" ]] || fail "a staging or backup file appeared"

# The first copy still answers: it ends on its message.
probe post Ostrel 0x2262 >/dev/null || fail "could not ask the first copy to end"
wait_ostrel_gone 10 || fail "the first copy did not end"
# With the first gone, a new start runs as the only copy.
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "a start after the first copy ended did not run"
echo "PASS"
