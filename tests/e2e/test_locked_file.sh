#!/usr/bin/env bash
# Keys.fil held open by another program all along: after about 2 s of attempts the
# program says it cannot open it and names the backup a change would keep; its set-up
# neither rewrites nor deletes the file, and it stays usable.
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
probe wait Ostrel 10000 >/dev/null || fail "the program did not go on to show its window"
if probe dialog Error 1000; then fail "a second error box"; fi
shot locked-file

touch "$app/Keys.fil.release"
wait "$holder" || fail "the holder failed"
[[ "$(sha256sum <"$app/Keys.fil")" == "$before" ]] || fail "the held file was changed"
for f in Keys.fil.bak Keys.fil.new; do [[ ! -e "$app/$f" ]] || fail "$f appeared"; done
echo "PASS"
