#!/usr/bin/env bash
# "Terminate" from the OstrelMenu while the box of a failed save is up: the program ends
# cleanly (no crash after the box), and the file is as it was.
source "$(dirname "$0")/lib.sh"
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }

app=$(fresh_app_dir end-under-box)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Agenda", "", 3, "C:\\agenda.txt")
                              + record("Mail", "Net", 13, "mailto:friend@example.org"))
PY
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
before=$(sha256sum <"$app/Keys.fil")
# The staging file cannot be made: the next save fails.
mkdir "$app/Keys.fil.new"

# Delete the first definition: its rebuild saves, and the save's error box comes up.
click_control Ostrel 101 || fail "no tree"
press Home
click_control Ostrel 102 $((20 + 2 * 70)) || fail "no Delete button"
probe wait Error 10000 >/dev/null || fail "no box for the failed save"
shot end-under-box-error
sleep 1.2  # menu requests within a second of the last are dropped
mouse mousemove 1012 757 click 1
probe menu 3000 >/dev/null || fail "the icon's menu did not pop up over the box"
press Up Return  # "Terminate", the last item

deadline=$((SECONDS + 10))
while kill -0 "$OSTREL_PID" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.2; done
kill -0 "$OSTREL_PID" 2>/dev/null && { shot end-under-box-hung; fail "the program did not end"; }
rc=0
wait "$OSTREL_PID" || rc=$?
OSTREL_PID=
cat "$app/ostrel.log"
[[ $rc == 0 ]] || fail "the program ended with code $rc"
grep -qi "unhandled\|page fault\|exception" "$app/ostrel.log" && fail "the program crashed"
probe windows | grep -q "class=TOstrelForm " && fail "a main window is left"
[[ "$(sha256sum <"$app/Keys.fil")" == "$before" ]] || fail "Keys.fil was changed"
echo "PASS"
