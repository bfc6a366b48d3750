#!/usr/bin/env bash
# Five definitions on one key combination: the first holds it, and the four refused are
# named in one box, after which the program goes on and no other box follows.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir refused-hotkeys)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
# Ctrl+Alt+W (key index 56, modifier index 6), in key-text order.
names = ["Alpha", "Bravo", "Charlie", "Delta", "Echo"]
open(sys.argv[1], "wb").write(b"".join(
    record(n, "Same", 11, "http://example.org/" + n, key=56, keymod=6) for n in names))
PY
start_ostrel "$app"
box=$(probe dialog Information 20000) || fail "no box for the refused hotkeys"
echo "$box"
grep -qF "text=HotKey aready in use.|" <<<"$box" || fail "the box lost its first line"
for name in Bravo Charlie Delta Echo; do
  grep -qF "|Same: $name (Ctrl+Alt+W)" <<<"$box" || fail "the box does not name $name"
done
grep -qF "Alpha" <<<"$box" && fail "the box names the definition that holds the key"
probe wait Ostrel 15000 >/dev/null || fail "the program did not go on to show its window"
# No second box: the set-up is over once the window shows.
sleep 2
for title in Information Error; do
  if probe wait "$title" 0 >/dev/null; then fail "a second \"$title\" box"; fi
done
shot refused-hotkeys
echo "PASS"
