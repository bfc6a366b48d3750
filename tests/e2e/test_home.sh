#!/usr/bin/env bash
# Where the program's folder cannot be written, the definitions are kept in
# %APPDATA%\Ostrel, made from a copy of those beside the program: the user is told once,
# the status line says where, a definition added through the editor and one imported are
# stored there and are still there after a restart, and the program's folder is left as it was. The folder
# is made unwritable by its bits for a user; as root (who ignores them) by a read-only
# bind mount in a private mount namespace, where the wineserver (which opens the files)
# and so the whole Wine part run.
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/common.sh"
wine_tools "$OSTREL_ARCH"
export WINEPREFIX="$OSTREL_WINEPREFIX" DISPLAY="$OSTREL_DISPLAY"

start_desktop() {  # as the Wine session starts it
  "$(system_loader)" explorer.exe /desktop=shell,1024x768 >/dev/null 2>&1 &
  eventually "xdotool search --name '^shell - Wine desktop\$' >/dev/null 2>&1" 60 ||
    fail "the Wine desktop did not come back"
}
stop_wineserver() { "$WINESERVER" -k 2>/dev/null || true; timeout 20 "$WINESERVER" -w || true; }
start_ostrel() {  # its output goes outside its read-only folder
  "$ROOT/scripts/wine-run" "$1/Ostrel.exe" >"$1/../home-ostrel.log" 2>&1 &
  OSTREL_PID=$!
}
folder_state() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

check_home() {  # app, its home's folder on this side
  local app=$1 home=$2/Ostrel state winhome status
  winhome="$(cat "$app/../home-appdata.txt")\\Ostrel"
  status="text=  Definitions are kept in ${winhome//\\/\\\\}\$"
  state=$(folder_state "$app")
  start_ostrel "$app"
  local box
  box=$(probe dialog Information 20000) || fail "no box saying where definitions are kept"
  [[ "$box" == *"text=Ostrel cannot write in its own folder, so your definitions are kept in $winhome\\."* ]] ||
    fail "unexpected box: $box"
  probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
  probe front Ostrel || true
  eventually "has_control Ostrel '$status'" 10 || fail "the status line does not say where"
  sleep 1
  shot home-window
  [[ "$(app=$home records)" == *"|Agenda|3|"*"|Phrases|17|"* ]] || fail "no copy: $(app=$home records)"
  cmp -s "$app/SendKeyList_1.skl" "$home/SendKeyList_1.skl" || fail "the list file was not copied"

  press alt+a  # Add, "Run a program", a name, OK refused for want of a program, then one
  probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Alt+A did not open the function chooser"
  press Home Down Down Down Return
  probe wait "Configure: Run a program" 5000 >/dev/null || fail "no hotkey editor"
  press alt+n && typeit "Stored" && press alt+o
  probe dialog Error 5000 >/dev/null || fail "no error for the missing program"
  sleep 0.5
  typeit "run.exe" && press alt+o
  probe gone "Configure: Run a program" 5000 || fail "OK did not close the editor"
  eventually '[[ "$(app=$home records)" == *"|Stored|4|"* ]]' 5 || fail "not stored in the home"
  # One imported by a second start is stored there too.
  timeout 60 "$ROOT/scripts/wine-run" "$app/Ostrel.exe" /import "$(winpath "$app/../home-set.fil")" \
    >/dev/null 2>&1 || fail "the /import start failed"
  box=$(probe dialog Information 15000) || fail "no box of what was imported"
  [[ "$box" == *"1 definition imported"* ]] ||
    fail "unexpected import box: $box"
  eventually '[[ "$(app=$home records)" == *"|Imported|3|"* ]]' 5 || fail "the import is not in the home"

  probe post Ostrel 0x2262 >/dev/null || fail "could not ask the program to end"
  wait_ostrel_gone 10 || fail "the program did not end"
  start_ostrel_quietly "$app"  # no second box
  eventually "has_control Ostrel '$status'" 10 || fail "after a restart the status line is wrong"
  [[ "$(app=$home records)" == *"|Imported|3|"*"|Stored|4|"* ]] ||
    fail "lost at the restart: $(app=$home records)"
  stop_ostrel
  [[ "$(folder_state "$app")" == "$state" ]] || fail "the program's folder was changed"
  echo "PASS"
}

if [[ "${2:-}" == --inside ]]; then  # the private mount namespace
  trap 'cleanup; stop_wineserver' EXIT
  mount --bind -o ro "$3" "$3" || fail "the read-only bind mount was refused"
  if touch "$3/.writable" 2>/dev/null; then fail "the bind mount still takes writes"; fi
  start_desktop
  check_home "$3" "$4"
  exit 0
fi

app=$(fresh_app_dir home)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$app/../home-set.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Agenda", "", 3, "C:\\agenda.txt")
                              + record("Phrases", "", 17, "SendKeyList_1.skl"))
open(sys.argv[2], "wb").write(record("Imported", "", 3, "C:\\imported.txt"))
PY
printf 'Greeting=Hello{ENTER}\r\n' >"$app/SendKeyList_1.skl"
"$ROOT/scripts/wine-run" cmd /c 'echo %APPDATA%' | tr -d '\r\n' >"$app/../home-appdata.txt"
appdata=$(cat "$app/../home-appdata.txt")
roaming="$OSTREL_WINEPREFIX/drive_c/$(sed 's/^..\\//; s/\\/\//g' <<<"$appdata")"
[[ -d "$roaming" ]] || fail "no application-data folder: $appdata"
rm -rf "$roaming/Ostrel"
if [[ $(id -u) != 0 ]]; then
  chmod a-w "$app"
  trap 'cleanup; chmod u+w "$app"; rm -rf "$roaming/Ostrel"' EXIT
  check_home "$app" "$roaming"
elif unshare -m true 2>/dev/null; then
  trap 'cleanup; rm -rf "$roaming/Ostrel"' EXIT
  stop_wineserver
  rc=0
  unshare -m bash "$0" "$BUILD" --inside "$app" "$roaming" || rc=$?
  stop_wineserver  # back to the shared session, whatever happened inside
  start_desktop
  exit "$rc"
else
  echo "SKIP: the program's folder cannot be made unwritable here (root without mount namespaces)"
fi
