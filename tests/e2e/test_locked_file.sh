#!/usr/bin/env bash
# Keys.fil held open by another program: the program says it cannot open it, says it
# cannot keep a backup, never overwrites it, and stays usable.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir locked-file)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Web", "Net", 11, "http://example.org")
                              + record("Agenda", "", 3, "C:\\agenda.txt"))
PY
before=$(sha256sum <"$app/Keys.fil")
keys=$(winpath "$app/Keys.fil")

probe hold "$keys" 60000 >"$app/hold.log" &
holder=$!
for _ in $(seq 1 50); do grep -q holding "$app/hold.log" 2>/dev/null && break; sleep 0.2; done
grep -q holding "$app/hold.log" || fail "could not hold the file open"

start_ostrel "$app"
first=$(probe dialog Error 20000) || fail "no error for the file that cannot be opened"
echo "$first"
grep -qF "text=Cannot open file $keys|" <<<"$first" || fail "wrong open error"
grep -qF "Keys.fil.bak" <<<"$first" || fail "the open error does not name the backup"
second=$(probe dialog Error 10000) || fail "no error for the backup that cannot be made"
echo "$second"
grep -qF "text=Cannot create file $keys.bak|" <<<"$second" || fail "wrong backup error"
probe wait Ostrel 10000 >/dev/null || fail "the program did not go on to show its window"
shot locked-file

touch "$app/Keys.fil.release"
wait "$holder" || fail "the holder failed"
[[ "$(sha256sum <"$app/Keys.fil")" == "$before" ]] || fail "the held file was changed"
[[ ! -e "$app/Keys.fil.new" ]] || fail "a staging file was left behind"
echo "PASS"
