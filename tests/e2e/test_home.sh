#!/usr/bin/env bash
# A home where the program's folder cannot be written: the definitions go to
# %APPDATA%\Ostrel, which starts as a copy of Keys.fil and the list files beside the
# program; the user is told once, the window's status line says where they are kept, a
# definition added through the editor is stored there and is still there after a restart,
# and the program's folder is left exactly as it was.
#
# The folder is made unwritable as a user would find it: as a non-root user by its
# permission bits; as root (who ignores them) by a read-only bind mount in a private mount
# namespace, with the prefix's wineserver started inside it (the wineserver opens the
# files), so the Wine part of the test runs there.
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/common.sh"
wine_tools "$OSTREL_ARCH"
export WINEPREFIX="$OSTREL_WINEPREFIX" DISPLAY="$OSTREL_DISPLAY"

# The virtual desktop every test shares, started as the Wine session starts it.
start_desktop() {
  "$(system_loader)" explorer.exe /desktop=shell,1024x768 >/dev/null 2>&1 &
  eventually "xdotool search --name '^shell - Wine desktop\$' >/dev/null 2>&1" 60 ||
    fail "the Wine desktop did not come back"
}
stop_wineserver() {
  "$WINESERVER" -k 2>/dev/null || true
  timeout 20 "$WINESERVER" -w 2>/dev/null || true
}
# The records of a Keys.fil, one a line: group|name|funtype|target.
records_of() {
  PYTHONPATH="$E2E_DIR" python3 -c '
import sys
from keysfil import parse
for r in parse(open(sys.argv[1], "rb").read()):
    print("{group}|{name}|{funtype}|{target}".format(**r))
' "$1"
}
# The program started with its output outside its own folder, which takes no log.
start_ostrel() {
  "$ROOT/scripts/wine-run" "$1/Ostrel.exe" >"$1/../home-ostrel.log" 2>&1 &
  OSTREL_PID=$!
}
# Every file of the program's folder with its checksum.
folder_state() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

# The Wine part: run in the namespace (root) or directly (a user whom the bits stop).
check_home() {
  local app=$1 roaming=$2
  local home="$roaming/Ostrel" state
  local winhome
  local winfolder
  winfolder="$(tr -d '\r' <"$app/../home-appdata.txt")\\Ostrel"
  winhome="$winfolder\\"
  state=$(folder_state "$app")

  start_ostrel "$app"
  local box
  box=$(probe dialog Information 20000) || fail "no box saying where the definitions are kept"
  [[ "$box" == *"text=Ostrel cannot write in its own folder, so your definitions are kept in $winhome."* ]] ||
    fail "unexpected box: $box"
  probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
  probe front Ostrel || true
  eventually "has_control Ostrel 'text=  Definitions are kept in ${winfolder//\\/\\\\}\$'" 10 ||
    fail "the status line does not say where: $(controls Ostrel | grep -i 'kept' || true)"
  sleep 1
  shot home-window
  [[ "$(records_of "$home/Keys.fil")" == *"|Agenda|3|"*"|Phrases|17|SendKeyList_1.skl"* ]] ||
    fail "the home did not start from the definitions beside the program: $(records_of "$home/Keys.fil")"
  cmp -s "$app/SendKeyList_1.skl" "$home/SendKeyList_1.skl" ||
    fail "the macro menu's list file was not copied into the home"

  # A definition added through the editor, from the keyboard.
  local editor="Configure: Run a program"
  press alt+a
  probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Alt+A did not open the function chooser"
  press Home Down Down Down Return
  probe wait "$editor" 5000 >/dev/null || fail "the chooser did not lead to the hotkey editor"
  press alt+n
  typeit "Stored"
  press alt+o
  probe dialog Error 5000 >/dev/null || fail "no error for the missing program"
  sleep 0.5
  typeit "run.exe"
  press alt+o
  probe gone "$editor" 5000 || fail "OK did not close the editor"
  eventually '[[ "$(records_of "$home/Keys.fil")" == *"|Stored|4|run.exe"* ]]' 5 ||
    fail "the new definition is not in the home: $(records_of "$home/Keys.fil")"
  if probe wait Error 0 >/dev/null; then fail "an error box after the save"; fi

  # IMPORT ROW: once the window's "Import..." has landed, a definition imported here must
  # be in "$home/Keys.fil" too, and still there after the restart below.

  # After a restart: read from the home, no second box, the definition still there.
  probe post Ostrel 0x2262 >/dev/null || fail "could not ask the program to end"
  wait_ostrel_gone 10 || fail "the program did not end"
  start_ostrel_quietly "$app"
  eventually "has_control Ostrel 'text=  Definitions are kept in ${winfolder//\\/\\\\}\$'" 10 ||
    fail "after a restart the status line does not say where"
  [[ "$(records_of "$home/Keys.fil")" == *"|Stored|4|run.exe"* ]] ||
    fail "the definition was lost at the restart: $(records_of "$home/Keys.fil")"
  stop_ostrel
  [[ "$(folder_state "$app")" == "$state" ]] || fail "the program's folder was changed"
  echo "PASS"
}

if [[ "${2:-}" == --inside ]]; then
  # In the private mount namespace: the program's folder read-only for everyone here.
  app=$3
  trap 'cleanup; stop_wineserver' EXIT
  mount --bind -o ro "$app" "$app" || fail "the read-only bind mount was refused"
  if touch "$app/.writable" 2>/dev/null; then fail "the bind mount still takes writes"; fi
  start_desktop
  check_home "$app" "$4"
  exit 0
fi

app=$(fresh_app_dir home)
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Agenda", "", 3, "C:\\agenda.txt")
                              + record("Phrases", "", 17, "SendKeyList_1.skl"))
PY
printf 'Greeting=Hello{ENTER}\r\n' >"$app/SendKeyList_1.skl"
# %APPDATA% of the prefix, and its folder on this side.
"$ROOT/scripts/wine-run" cmd /c 'echo %APPDATA%' | tr -d '\r' >"$app/../home-appdata.txt"
appdata=$(cat "$app/../home-appdata.txt")
[[ "$appdata" == [Cc]:\\* ]] || fail "no application-data folder: $appdata"
roaming="$OSTREL_WINEPREFIX/drive_c/$(sed 's/^..\\//; s/\\/\//g' <<<"$appdata")"
[[ -d "$roaming" ]] || fail "no folder $roaming"
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
  # Back to the shared session, whatever happened inside.
  stop_wineserver
  start_desktop
  exit "$rc"
else
  echo "SKIP: the program's folder cannot be made unwritable here (root without mount namespaces)"
fi
