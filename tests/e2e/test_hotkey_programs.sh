#!/usr/bin/env bash
# Hotkeys for some programs only, in the real program with Keys.fil and a Keys.ini written
# by hand: a combination kept for Notepad types its macro there, and with another program
# in front (a window that logs its key messages) the same combination reaches that window
# once, with its modifiers, and nothing is typed into Notepad; presses alternating between
# the two all go the right way. A definition whose hotkey is off leaves its combination to
# other programs, and Win+Shift+K and a punctuation key run their definitions.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir hotkey-programs)
keylog="$app/keys.log"
# Key index 34 is A; modifier 6 is Ctrl+Alt, 9 Win+Shift; key 102 is ";" (VK_OEM_1).
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(key S) $(key Q) $(key K)" <<'PY'
import sys
from keysfil import record
path, keys = sys.argv[1], [int(k) for k in sys.argv[2].split()]
s, q, k = keys
open(path, "wb").write(
    record("Signature", "Editors", 16, "sig", key=s, keymod=6)
    + record("Quiet", "", 16, "never", key=q, keymod=6)
    + record("Win key", "", 16, "wk", key=k, keymod=9)
    + record("Semicolon", "", 16, "pk", key=102, keymod=6))
PY
# Written as a user would: a byte-order mark, Windows line ends, a name in other case.
printf '\xef\xbb\xbf[Definition]\r\nGroup=Editors\r\nName=Signature\r\nOnly=notepad.exe\r\n\r\n[Definition]\r\nName=quiet\r\nHotkey=off\r\n' \
  >"$app/Keys.ini"

# Lines of the key log that are a press of S (0x53) and with which modifiers.
presses_of_s() { if [[ -f "$keylog" ]]; then grep -c '^+53' "$keylog" || true; else echo 0; fi; }

start_ostrel_quietly "$app"
"$ROOT/scripts/wine-run" notepad.exe >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Untitled - Notepad" 15000 >/dev/null || fail "Notepad did not start"
"$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" keylog "Key Log" "$(winpath "$keylog")" 600000 \
  >/dev/null 2>&1 &
HELPERS+=($!)
probe wait "Key Log" 10000 >/dev/null || fail "the key-log window did not appear"

# In Notepad the definition runs.
front "Untitled - Notepad"
press ctrl+alt+s
eventually '[[ "$(notepad_text)" == sig ]]' 20 || fail "Ctrl+Alt+S typed \"$(notepad_text)\" into Notepad"

# Elsewhere the press goes on to the window in front, once, with Ctrl and Alt down.
front "Key Log"
press ctrl+alt+s
eventually '[[ $(presses_of_s) -ge 1 ]]' 10 || fail "Ctrl+Alt+S did not reach the key-log window"
sleep 1
[[ $(presses_of_s) -eq 1 ]] || fail "the key-log window got $(presses_of_s) presses of S"
grep -q '^+53 CA$' "$keylog" || fail "S arrived as $(grep '^+53' "$keylog") without Ctrl+Alt"
[[ "$(notepad_text)" == sig ]] || fail "the press elsewhere typed into Notepad: \"$(notepad_text)\""
shot hotkey-programs-passed-on

# 50 presses alternating: each goes where the window in front says.
typed=sig
for ((n = 1; n <= 50; n++)); do
  if ((n % 2)); then
    front "Untitled - Notepad"
    press ctrl+alt+s
    typed+=sig
    eventually '[[ "$(notepad_text)" == "$typed" ]]' 20 ||
      fail "press $n in Notepad: it holds \"$(notepad_text)\""
  else
    front "Key Log"
    press ctrl+alt+s
    eventually '[[ $(presses_of_s) -ge $((n / 2 + 1)) ]]' 10 ||
      fail "press $n did not reach the key-log window"
  fi
done
sleep 1
[[ $(presses_of_s) -eq 26 ]] || fail "the key-log window got $(presses_of_s) presses of S, not 26"
[[ $(grep -c '^+53 CA$' "$keylog") -eq 26 ]] || fail "some presses of S came without Ctrl+Alt"
[[ "$(notepad_text)" == "$typed" ]] || fail "Notepad holds \"$(notepad_text)\""

# A switched-off hotkey is not held: another program can take Ctrl+Alt+Q (MOD_CONTROL |
# MOD_ALT, 0x51), while Ctrl+Alt+S is still Ostrel's.
probe register 3 0x51 >/dev/null || fail "the switched-off Ctrl+Alt+Q is still held"
if probe register 3 0x53 >/dev/null; then fail "Ctrl+Alt+S is not held any more"; fi

# The new modifier combinations and keys run their definitions.
front "Untitled - Notepad"
press super+shift+k
typed+=wk
eventually '[[ "$(notepad_text)" == "$typed" ]]' 20 || fail "Win+Shift+K: Notepad holds \"$(notepad_text)\""
press ctrl+alt+semicolon
typed+=pk
eventually '[[ "$(notepad_text)" == "$typed" ]]' 20 || fail "Ctrl+Alt+;: Notepad holds \"$(notepad_text)\""
shot hotkey-programs-new-keys
echo "PASS"
