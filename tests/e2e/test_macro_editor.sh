#!/usr/bin/env bash
# The macro-menu editor on its own (macrolisthost.exe), driven from the keyboard as a user
# would: add an item through the input box, a refused duplicate, type its macro, ask for
# help, delete an item, close; then the list file's bytes. A new file comes into being
# at the first close, a file that cannot be written is reported by its full path while
# the dialog still lets the user leave, and a UTF-16 file survives opening and Cancel.
source "$(dirname "$0")/lib.sh"

TITLE="SendKeys List Configuration"
dir="$BUILD/e2e-run/macro-editor"
rm -rf "$dir"
mkdir -p "$dir"
HOST_PID=
host_rc() { cat "$dir/rc" 2>/dev/null || echo none; }
start_host() {  # list file (Unix path)
  rm -f "$dir/rc"
  ( rc=0
    "$ROOT/scripts/wine-run" "$BUILD/bin/macrolisthost.exe" "$(winpath "$1")" \
      "$(winpath "$dir/help.log")" >"$dir/host.log" 2>&1 || rc=$?
    echo "$rc" >"$dir/rc" ) &
  HOST_PID=$!
  probe wait "$TITLE" 15000 >/dev/null || fail "the dialog did not appear"
  sleep 0.5
  read -r WX WY WW WH < <(probe wait "$TITLE" 1000 | rect_of)
  # Frame and caption from the window and its 399 x 308 client area.
  BORDER=$(((WW - 399) / 2))
  CX=$((WX + BORDER))
  CY=$((WY + WH - 308 - BORDER))
  # Give it the keyboard: a click on its title bar.
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((WX + 150)) $((WY + BORDER + 4)) click 1
  sleep 0.5
}
click_client() { DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((CX + $1)) $((CY + $2)) click 1; }
wait_host_gone() {
  eventually '[[ -f "$dir/rc" ]]' 10 || fail "the dialog did not close"
  wait "$HOST_PID" 2>/dev/null || true
  HOST_PID=
}
stop_host() { [[ -z "$HOST_PID" ]] || { probe kill "$TITLE" >/dev/null 2>&1 || true; }; }
trap 'stop_host; cleanup' EXIT
text_of() { probe info "$TITLE" | tr -d "\r" | sed -n "s/^child id=$1 .* text=//p"; }

# A window of another program stays open throughout, as the desktop always has some: the
# dialogs come and go without the Wine desktop being closed behind them.
probe_window "Macro Editor Test" MacroEditorTest

list="$dir/SendKeyList_1.skl"
printf 'Name=John{tab}Smith\r\nPhone=555-1234\r\n' >"$list"
start_host "$list"
info=$(probe info "$TITLE")
grep -q "rect=308,117,.* client=399,308 sizebox=0" <<<"$info" || fail "dialog not at 308,117 with a 399 x 308 client area: $info"
shot macro-editor

# Enter presses Add (the focus is on it first): the input box.
press Return
probe wait "Enter Menu Name" 5000 >/dev/null || fail "Enter did not open the input box"
shot macro-editor-input
press p h o n e Return
msg=$(probe dialog Error 5000) || fail "no error box for a duplicate name"
grep -q "text=Cannot add, that name is already used" <<<"$msg" || fail "wrong duplicate message: $msg"
probe gone Error 3000 || fail "the error box stayed"

# Again, with a new name: the new item is selected and its macro takes the typing.
sleep 0.3
press Return
probe wait "Enter Menu Name" 5000 >/dev/null || fail "Enter did not open the input box again"
press F a x Return
probe gone "Enter Menu Name" 3000 || fail "OK did not close the input box"
sleep 0.3
DISPLAY="$OSTREL_DISPLAY" xdotool type --delay 40 'a=b{TAB}'
eventually '[[ "$(text_of 411)" == "a=b{TAB}" ]]' 5 || fail "MenuKeys shows \"$(text_of 411)\""
shot macro-editor-typed

# Enter in the macro opens the input box as well; Escape cancels it and adds nothing.
press Return
probe wait "Enter Menu Name" 5000 >/dev/null || fail "Enter in MenuKeys did not press Add"
press Escape
probe gone "Enter Menu Name" 3000 || fail "Escape did not close the input box"

# The help button asks for help context 40.
click_client 374 13
eventually '[[ -f "$dir/help.log" ]] && grep -q "help 40" "$dir/help.log"' 5 ||
  fail "the help button made no request for context 40"

# Select "Name" in the list and delete it with Alt+D; then the close box.
click_client 20 22
eventually '[[ "$(text_of 411)" == "John{tab}Smith" ]]' 5 || fail "selecting Name shows \"$(text_of 411)\""
press alt+d
eventually '[[ "$(text_of 411)" == "" ]]' 5 || fail "Delete left the macro showing"
DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((WX + WW - BORDER - 12)) $((WY + BORDER + 10)) click 1
wait_host_gone
[[ $(host_rc) == 1 ]] || fail "modal result $(host_rc), expected 1"
expected=$(printf 'Phone=555-1234\r\nFax=a=b{TAB}\r\n' | od -An -c)
actual=$(od -An -c "$list")
[[ "$actual" == "$expected" ]] || fail "list file holds: $actual"
[[ ! -e "$list.new" ]] || fail "a staging file was left behind"

# A missing file: the list starts empty and Cancel writes a file of 0 bytes.
new="$dir/SendKeyList_2.skl"
start_host "$new"
press alt+c
wait_host_gone
[[ -f "$new" && ! -s "$new" ]] || fail "Cancel did not write an empty $new"

# A file that cannot be written: the error names the full path; the dialog still ends.
bad="$dir/no-such-folder/SendKeyList_3.skl"
start_host "$bad"
press alt+e  # Exit
msg=$(probe dialog Error 5000) || fail "no error box for a failed write"
want="text=Cannot create file $(winpath "$bad")"
grep -qF "$want" <<<"$msg" || fail "wrong write error: $msg (want $want)"
wait_host_gone
[[ $(host_rc) == 1 ]] || fail "modal result $(host_rc) after a failed write"
# A list saved in UTF-16 by another editor: reported when the editor opens, and byte for
# byte as it was after Cancel (no rewrite, no backup).
wide="$dir/SendKeyList_4.skl"
printf '\xff\xfeN\0a\0m\0e\0=\0J\0o\0h\0n\0\r\0\n\0' >"$wide"
before=$(sha256sum <"$wide")
start_host "$wide"
probe wait Error 10000 >/dev/null || fail "no report of the UTF-16 file"
shot macro-editor-utf16
msg=$(probe dialog Error 10000) || fail "no report of the UTF-16 file"
grep -qF "text=$(winpath "$wide") holds a UTF-16 byte-order mark, which" <<<"$msg" ||
  fail "wrong report: $msg"
probe gone Error 3000 || fail "the report stayed"
DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((WX + 150)) $((WY + BORDER + 4)) click 1
sleep 0.3
press alt+c
wait_host_gone
[[ "$(sha256sum <"$wide")" == "$before" ]] || fail "the UTF-16 file was changed: $(od -An -c "$wide")"
for f in "$wide".*; do [[ ! -e "$f" ]] || fail "$f appeared"; done
echo "PASS: macro editor"
