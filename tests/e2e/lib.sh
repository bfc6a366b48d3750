# Shared by the end-to-end tests: each runs the real Ostrel.exe of a build tree in the
# tree's Wine session, looks at it with olprobe and photographs the virtual desktop.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
export OSTREL_BUILD="$BUILD"
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$E2E_DIR/../.." && pwd)
ARTIFACTS="$BUILD/e2e-artifacts"
mkdir -p "$ARTIFACTS"
# shellcheck disable=SC1091
source "$BUILD/wine-session.env"
OSTREL_PID=

fail() {
  echo "FAIL: $*" >&2
  shot "failure-$(basename "$0" .sh)" || true
  exit 1
}

probe() { "$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" "$@"; }

shot() {
  import -display "$OSTREL_DISPLAY" -window root "$ARTIFACTS/$1.png"
  echo "screenshot: $ARTIFACTS/$1.png"
}

# Keys pressed on the virtual desktop, as a user would (xdotool key syntax).
press() { DISPLAY="$OSTREL_DISPLAY" xdotool key --delay 50 "$@"; }

# How many pixels of a screenshot's region are close to an RGB colour.
count_colour() {  # png x y w h r g b
  convert "$1" -crop "$4x$5+$2+$3" +repage txt:- | python3 -c '
import re, sys
r, g, b = (int(v) for v in sys.argv[1:4])
n = 0
for line in sys.stdin:
    m = re.search(r"\((\d+),(\d+),(\d+)", line)
    if m and max(abs(int(m[1]) - r), abs(int(m[2]) - g), abs(int(m[3]) - b)) < 60:
        n += 1
print(n)' "$6" "$7" "$8"
}

# The window rectangle "x y w h" from olprobe's "found rect=..." line.
rect_of() { sed -n 's/.*rect=\([0-9-]*\),\([0-9-]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' | head -1; }

# A fresh folder holding a copy of the program: Keys.fil lives beside it.
fresh_app_dir() {
  local dir="$BUILD/e2e-run/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$BUILD/bin/Ostrel.exe" "$dir/"
  # The mouse-watch library ships beside the program.
  cp "$BUILD"/bin/OLWATCH.[dD][lL][lL] "$dir/" 2>/dev/null || true
  # So does the help page.
  cp "$BUILD/bin/ostrel.htm" "$dir/"
  echo "$dir"
}

start_ostrel() {  # folder [command line...]
  "$ROOT/scripts/wine-run" "$1/Ostrel.exe" "${@:2}" >"$1/ostrel.log" 2>&1 &
  OSTREL_PID=$!
}

# Starts the program and waits for its window, with no box of its own at start-up.
start_ostrel_quietly() {
  start_ostrel "$1"
  probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
  sleep 1
  for title in Information Error; do
    if probe wait "$title" 0 >/dev/null; then fail "unexpected \"$title\" box at start-up"; fi
  done
}

# Waits up to $1 seconds for the started program to end by itself.
wait_ostrel_gone() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$OSTREL_PID" 2>/dev/null; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
  wait "$OSTREL_PID" 2>/dev/null || true
  OSTREL_PID=
}

# Runs a helper window of olprobe in the background for the rest of the test.
HELPERS=()
probe_window() {  # title class
  "$ROOT/scripts/wine-run" "$BUILD/bin/olprobe.exe" window "$1" "$2" 600000 >/dev/null 2>&1 &
  HELPERS+=($!)
  probe wait "$1" 10000 >/dev/null || fail "helper window \"$1\" did not appear"
}

# Waits up to $2 seconds until the command $1 (a shell snippet) succeeds.
eventually() {
  local deadline=$((SECONDS + $2))
  until eval "$1"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

stop_ostrel() {
  probe kill Ostrel >/dev/null 2>&1 || true
  [[ -z "$OSTREL_PID" ]] || wait "$OSTREL_PID" 2>/dev/null || true
  OSTREL_PID=
}

# The options' registry keys, machine and user.
OPTIONS_KEY='HKLM\Software\Tessaly\Ostrel\1.0'
USER_KEY='HKCU\Software\Tessaly\Ostrel\1.0'
wine_reg_quiet() { "$ROOT/scripts/wine-run" reg "$@" >/dev/null 2>&1; }
# Stores an option value ("0" or "1") in both keys.
store_option() {  # name value
  wine_reg_quiet add "$OPTIONS_KEY" /v "$1" /d "$2" /f || fail "could not store $1"
  wine_reg_quiet add "$USER_KEY" /v "$1" /d "$2" /f || fail "could not store $1"
}
# Removes an option from both keys: the other tests expect it as it is by default. A test
# that stores one calls this first and on its way out.
forget_option() {  # name
  wine_reg_quiet delete "$OPTIONS_KEY" /v "$1" /f || true
  wine_reg_quiet delete "$USER_KEY" /v "$1" /f || true
}

cleanup() {
  stop_ostrel
  local pid
  for pid in "${HELPERS[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# The Windows path of a file on the Unix side (Wine's drive Z: is the root).
# A window's controls as olprobe lists them, one per line (without carriage returns).
controls() { probe info "$1" | tr -d '\r'; }
# Whether a window has a control line matching a pattern. Read whole first: grep -q
# would stop reading early, and the probe's broken pipe would fail the test.
has_control() {
  local lines
  lines=$(controls "$1") || return 1
  grep -q "$2" <<<"$lines"
}
typeit() { DISPLAY="$OSTREL_DISPLAY" xdotool type --delay 40 "$@"; }
# The records of the test's $app/Keys.fil, one a line: group|name|funtype|key|keymod|
# target|parms|dir|show|reserved (read independently of the program's own code).
records() {
  PYTHONPATH="$E2E_DIR" python3 -c '
import sys
from keysfil import parse
for r in parse(open(sys.argv[1], "rb").read()):
    print("{group}|{name}|{funtype}|{key}|{keymod}|{target}|{parms}|{dir}|{show}|{reserved}".format(**r))
' "$app/Keys.fil"
}
# Whether Keys.fil holds a record matching grep's arguments (read whole first, as above).
has_record() {
  local all
  all=$(records) || return 1
  grep -q "$@" <<<"$all"
}
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The screen position "x y" of a window's client area.
client_origin() {  # title
  local info x y w h cw ch border
  info=$(probe info "$1" | tr -d '\r') || return 1
  read -r x y w h <<<"$(head -1 <<<"$info" | rect_of)"
  read -r cw ch <<<"$(sed -n '1s/.* client=\([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$info")"
  border=$(((w - cw) / 2))
  echo "$((x + border)) $((y + h - ch - border))"
}

# Clicks a child control of a window (by its id) in its middle, or `dx` pixels from its
# left edge.
click_control() {  # title id [dx]
  local ox oy info x y w h
  read -r ox oy <<<"$(client_origin "$1")"
  info=$(probe info "$1" | tr -d '\r') || return 1
  read -r x y w h <<<"$(grep "^child id=$2 " <<<"$info" | rect_of)"
  [[ -n "$w" ]] || return 1
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((ox + x + ${3:-$((w / 2))})) $((oy + y + h / 2)) click 1
}

# Wine's Notepad: its text as hex bytes, or as text without its line ends; brought in
# front; started blank, with what a Return typed by the user makes in it kept in $newline.
notepad_hex() { probe edittext "Untitled - Notepad" | od -An -tx1 | tr -d ' \n'; }
notepad_text() { probe edittext "Untitled - Notepad" | tr -d '\r\n'; }
# Brings the window with this title in front, or fails.
front() {
  local title=$1
  probe front "$title" || true
  eventually '[[ "$(probe foreground)" == "$title"* ]]' 5 || fail "\"$title\" is not in front"
}
notepad_front() { front "Untitled - Notepad"; }
# A click in Notepad's text, as a user puts the caret there.
click_notepad() {
  read -r ox oy <<<"$(client_origin "Untitled - Notepad")"
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((ox + 200)) $((oy + 100)) click 1
}
start_blank_notepad() {
  "$ROOT/scripts/wine-run" notepad.exe >/dev/null 2>&1 &
  HELPERS+=($!)
  probe wait "Untitled - Notepad" 15000 >/dev/null || fail "Notepad did not start"
  notepad_front
  press Return
  eventually '[[ -n "$(notepad_hex)" ]]' 10 || fail "Return typed nothing into Notepad"
  newline=$(notepad_hex)
  press ctrl+a BackSpace
  eventually '[[ -z "$(notepad_hex)" ]]' 10 || fail "Notepad's text could not be cleared"
}
