#!/usr/bin/env bash
# Hotkeys pressed on the virtual desktop run their definitions in the real program:
# a program started (it writes a file), the active window hidden and shown, the
# desktop hidden and shown, every window minimised, the configuration window shown,
# and all hotkeys switched off.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir hotkeys)
out="$app/ran.txt"
# Ctrl+Alt (modifier index 6) with a letter: key index 34 is A.
key() { echo $((34 + $(printf '%d' "'$1") - 65)); }
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" "$(winpath "$out")" \
  "$(key R) $(key H) $(key D) $(key M) $(key C) $(key O)" <<'PY'
import sys
from keysfil import record
path, out, keys = sys.argv[1], sys.argv[2], [int(k) for k in sys.argv[3].split()]
r, h, d, m, c, o = keys
recs = [
    record("Run", "Tools", 4, "C:\\windows\\system32\\cmd.exe", f"  /c echo ran>>{out}  ",
           key=r, keymod=6),
    record("Hide window", "Windows", 5, key=h, keymod=6),
    record("Desktop", "Windows", 19, key=d, keymod=6),
    record("Minimise all", "Windows", 18, key=m, keymod=6),
    record("Configuration", "", 6, key=c, keymod=6),
    record("Off", "", 20, key=o, keymod=6),
]
open(path, "wb").write(b"".join(recs))
PY

# A desktop window must exist before the program starts, as on Windows.
probe_window "Desk Test" Progman
start_ostrel_quietly "$app"

lines() { if [[ -f "$out" ]]; then grep -c ran "$out" || true; else echo 0; fi; }

# Run a program: cmd.exe appends a line to the file.
press ctrl+alt+r
eventually '[[ $(lines) -ge 1 ]]' 15 || fail "Ctrl+Alt+R did not run the program"

# Hide the window in front, then show it again.
probe_window "Probe Window" ProbeWindow
probe front "Probe Window" || true
eventually '[[ "$(probe foreground)" == "Probe Window"* ]]' 5 || fail "probe window not in front"
press ctrl+alt+h
probe gone "Probe Window" 3000 || fail "Ctrl+Alt+H did not hide the active window"
shot hotkeys-hidden
press ctrl+alt+h
probe wait "Probe Window" 3000 >/dev/null || fail "Ctrl+Alt+H did not show the hidden window"

# Hide the desktop, then show it.
press ctrl+alt+d
probe gone "Desk Test" 3000 || fail "Ctrl+Alt+D did not hide the desktop window"
press ctrl+alt+d
probe wait "Desk Test" 3000 >/dev/null || fail "Ctrl+Alt+D did not show the desktop window"

# Minimise all: program windows go to the taskbar.
press ctrl+alt+m
eventually 'probe info "Probe Window" | grep -q "^window .*iconic=1"' 5 \
  || fail "Ctrl+Alt+M did not minimise the probe window"
eventually 'probe info Ostrel | grep -q "^window .*iconic=1"' 5 \
  || fail "Ctrl+Alt+M did not minimise the configuration window"
shot hotkeys-minimised

# Show the configuration window again.
press ctrl+alt+c
eventually 'probe info Ostrel | grep -q "^window .*visible=1 iconic=0"' 5 \
  || fail "Ctrl+Alt+C did not show the configuration window"
shot hotkeys-config

# Switch hotkeys off: the next press does nothing.
press ctrl+alt+o
sleep 1
before=$(lines)
press ctrl+alt+r
sleep 3
[[ $(lines) -eq $before ]] || fail "a hotkey ran after hotkeys were switched off"
echo "PASS"
