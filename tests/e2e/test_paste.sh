#!/usr/bin/env bash
# Long macros in the real program: a macro-menu item of 10,000 characters (fifty lines of
# 200 with {ENTER} between them, accented characters and {U+...} words among them) is
# pasted line by line into Wine's Notepad and arrives exactly, and the clipboard the test
# set before (text, "HTML Format", a picture, a file list, a private format) is the same
# afterwards. With "OLPasteLong" at "0" a long item is typed key by key instead: the
# clipboard is not touched at all. That item is one line of 150 characters, so that typing it stays
# well within the test's time.
source "$(dirname "$0")/lib.sh"

trap 'cleanup; forget_option OLPasteLong' EXIT
forget_option OLPasteLong

app=$(fresh_app_dir paste)
# Ctrl+Alt+L (modifier index 6, key index 34 + 11) pops up the macro menu of the list.
# The list holds the long item and the shorter one; expected.txt what each types, in
# UTF-8 with "\n" for each {ENTER}.
PYTHONPATH="$E2E_DIR" python3 - "$app" <<'PY'
import sys
from keysfil import record
app = sys.argv[1]
open(app + "/Keys.fil", "wb").write(record("List", "Macros", 17, "SendKeyList_1.skl", key=45, keymod=6))
words = ["café", "naïve", "Straße", "señor", "über", "déjà", "reply", "paragraph", "Ostrel",
         "boilerplate", "{U+2192}", "{U+20AC}", "{U+1F600}", "{U+03A9}"]
def line(n, length):
    macro, text, i = "", "", n
    while len(text) < length:
        w = words[i % len(words)] + " "
        i += 3
        shown = chr(int(w[3:-2], 16)) + " " if w.startswith("{U+") else w
        if len(text) + len(shown) > length:
            w = shown = "x" * (length - len(text))
        macro += w
        text += shown
    return macro, text
def item(lines, length):
    parts = [line(n, length) for n in range(lines)]
    return "{ENTER}".join(m for m, _ in parts), "\n".join(t for _, t in parts)
long_macro, long_text = item(50, 200)
short_macro, short_text = item(1, 150)
assert len(long_text.replace("\n", "")) == 10000
open(app + "/SendKeyList_1.skl", "wb").write(
    ("Long reply=" + long_macro + "\r\nShort reply=" + short_macro + "\r\n").encode("cp1252"))
open(app + "/expected.txt", "w").write(long_text + "\0" + short_text)
PY

# The expected text of item $1 (0 or 1) as Notepad holds it, in hex.
expected_hex() {
  python3 -c 'import sys; t = open(sys.argv[1]).read().split("\0")[int(sys.argv[2])]
print(bytes.fromhex(sys.argv[3]).join(p.encode() for p in t.split("\n")).hex())' \
    "$app/expected.txt" "$1" "$newline"
}
clipdump() { probe clipdump | tr -d '\r'; }

# Starts the program, pops its OstrelMenu up once (the macro menu appears only after it)
# and brings Notepad to the front.
start_and_ready() {
  start_ostrel "$app"
  probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
  sleep 1
  probe post Ostrel 0x2261 || fail "could not post to the program"
  probe menu 3000 >/dev/null || fail "the OstrelMenu did not pop up"
  press Escape
  probe nomenu 3000 || fail "Escape did not close the OstrelMenu"
  notepad_front
}
# Chooses item $1 (1, 2) of the macro menu.
choose() {
  press ctrl+alt+l
  probe menu 3000 >/dev/null || fail "Ctrl+Alt+L did not pop the macro menu up"
  sleep 1  # a menu closed within half a second of opening comes back
  local downs=()
  for ((i = 0; i < $1; i++)); do downs+=(Down); done
  press "${downs[@]}" Return
  probe nomenu 3000 || fail "choosing an item did not close the macro menu"
}

start_blank_notepad

start_and_ready
probe clipput || fail "could not set the clipboard"
before=$(clipdump)
[[ $(wc -l <<<"$before") -ge 5 ]] || fail "the clipboard holds less than was put there: $before"
sequence=$(probe clipseq)
choose 1
expected=$(expected_hex 0)
# Where Notepad's text first differs from the expected one, with what follows in each.
first_difference() {
  python3 -c 'import sys; a, b = bytes.fromhex(sys.argv[1]), bytes.fromhex(sys.argv[2])
i = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
print("%d of %d bytes agree, then %r instead of %r" % (i, len(b), a[i:i + 30], b[i:i + 30]))' \
    "$(notepad_hex)" "$1"
}
eventually '[[ "$(notepad_hex)" == "$expected" ]]' 120 ||
  fail "the long item did not arrive exactly: $(first_difference "$expected")"
shot paste-long
[[ "$(probe clipseq)" != "$sequence" ]] || fail "the long item did not go through the clipboard"
eventually '[[ "$(clipdump)" == "$before" ]]' 10 ||
  fail "the clipboard did not come back: $(diff <(echo "$before") <(clipdump) | head -c 2000)"

# The option off: the shorter item, still long enough to paste, is typed after the long
# one, and the clipboard's sequence shows nobody opened it to write.
stop_ostrel
store_option OLPasteLong 0
start_and_ready
shot paste-option-off
sequence=$(probe clipseq)
choose 2
expected+=$(expected_hex 1)
eventually '[[ "$(notepad_hex)" == "$expected" ]]' 60 ||
  fail "with the option off the item typed $(notepad_hex), not $expected"
[[ "$(probe clipseq)" == "$sequence" ]] || fail "with the option off the clipboard was written"
echo "PASS"
