#!/usr/bin/env bash
# The real program loads a damaged, unsorted Keys.fil laid beside it, keeps the original,
# rewrites it sorted and whole, shows its window, and survives its close box.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir startup)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
data = (record("Web", "Net", 11, "http://example.org", key=23, keymod=6)
        + record("Agenda", "", 3, "C:\\agenda.txt")
        + record("web", "NET", 11, "http://second.example.org")   # same key ignoring case
        + record("Broken", "Tools", 4, "C:\\x.exe", name_len=200)  # damaged length byte
        + record("Mail", "Net", 13, "mailto:a@example.org")
        + record("Tail", "Frag", 2, "C:\\lost")[:70])                # trailing fragment
open(sys.argv[1], "wb").write(data)
PY
cp "$app/Keys.fil" "$app/original.fil"

start_ostrel "$app"
probe wait Information 20000 >/dev/null || fail "no notice about the damaged file"
shot startup-notice
notice=$(probe dialog Information 5000) || fail "no notice about the damaged file"
echo "$notice"
grep -q "Keys.fil.bak" <<<"$notice" || fail "the notice does not name the backup"

found=$(probe wait Ostrel 10000) || fail "the configuration window did not appear"
read -r wx wy _ _ < <(rect_of <<<"$found")
sleep 0.5
info=$(probe info Ostrel)
echo "$info"
grep -q "^window class=TOstrelForm visible=1 iconic=0 rect=[0-9]*,[0-9]*,548,322 " <<<"$info" \
  || fail "window not shown at 548 x 322"
grep -q "sizebox=0 maximizebox=0" <<<"$info" || fail "window can be resized"
grep -q "text=This is the hotkey definition panel. ||||You can add" <<<"$info" \
  || fail "help text missing from the help pane"
shot startup
# The program's icon (its orange bolt) in the window's title bar.
bolt=$(count_colour "$ARTIFACTS/startup.png" "$wx" "$wy" 24 24 240 140 40)
[[ "$bolt" -ge 4 ]] || fail "no program icon in the title bar ($bolt orange pixels)"

PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$app/Keys.fil.bak" "$app/original.fil" <<'PY'
import sys
from keysfil import parse, SIZE
keys, bak, orig = (open(p, "rb").read() for p in sys.argv[1:4])
assert bak == orig, "the backup is not the original file"
assert len(keys) % SIZE == 0, "Keys.fil is not whole records"
recs = parse(keys)
print("rewritten:", [(r["group"], r["name"]) for r in recs])
assert len(recs) == 5, len(recs)
expected = [("", "Agenda"), ("Frag", "Tail"), ("Net", "Mail"), ("NET", "web"), ("Tools", None)]
for (group, name), r in zip(expected, recs):
    assert r["group"] == group, (group, r)
    assert name is None or r["name"] == name, (name, r)
assert recs[3]["target"] == "http://second.example.org", "the later of two equal keys must win"
broken = recs[4]
assert broken["name_len"] == 40 and broken["name"].startswith("Broken"), broken
tail = recs[1]  # completed with zeros: its target's length byte made it, one character did
assert tail["funtype"] == 2 and tail["show"] == 0 and tail["target"] == "C" + "\0" * 6, tail
PY

# Closing the window (Alt+F4 on the keyboard, then the close message itself) only
# minimises it; the program goes on.
# A click on the title bar first, as a user would: it gives the window the keyboard even
# after an earlier program in this desktop ended abruptly.
DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((wx + 120)) $((wy + 10)) click 1
eventually '[[ "$(probe foreground)" == Ostrel* ]]' 5 || fail "the window is not in front"
press alt+F4
eventually 'probe info Ostrel | grep -q "^window class=TOstrelForm .*iconic=1"' 5 \
  || fail "Alt+F4 did not minimise (or ended the program)"
probe close Ostrel
sleep 1
probe info Ostrel >/dev/null || fail "the close box ended the program"
shot startup-after-close
echo "PASS"
