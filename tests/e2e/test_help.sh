#!/usr/bin/env bash
# The configuration window's help button opens the help page beside the program, at the
# window's own section, in the program registered for ".htm" files: here a stand-in
# browser (browserprobe) that records the command line it gets. The program sits in a
# folder with a blank in its name, which the address must carry encoded. Without the page
# beside the program, the button says so in an error box naming the page. The hotkey
# editor's help button opens the same section, the macro-menu editor's its own.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir "help page")
[[ -f "$app/ostrel.htm" ]] || fail "the build put no ostrel.htm beside Ostrel.exe"
log="$app/browser.log"
probe_exe="$app/browserprobe.exe"
cp "$BUILD/bin/browserprobe.exe" "$probe_exe"

# The association of the session's prefix is saved, replaced and put back however the
# test ends. (Wine's HKEY_CLASSES_ROOT is the machine's classes alone: keys of the user's
# own would not be seen.)
CLASS=OstrelHelpTestPage
reg() { "$ROOT/scripts/wine-run" reg "$@" >/dev/null 2>&1; }
saved="$app/htm-association.reg"
reg export 'HKCR\.htm' "$(winpath "$saved")" /y || rm -f "$saved"
restore() {
  reg delete 'HKCR\.htm' /f || true
  reg delete "HKCR\\$CLASS" /f || true
  [[ ! -f "$saved" ]] || reg import "$(winpath "$saved")" || echo "could not restore .htm" >&2
}
trap 'restore; cleanup' EXIT
reg add 'HKCR\.htm' /ve /d "$CLASS" /f || fail "could not register .htm"
reg add "HKCR\\$CLASS\\shell\\open\\command" /ve \
  /d "\"$(winpath "$probe_exe")\" \"$(winpath "$log")\" \"%1\"" /f || fail "could not register $CLASS"

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1.5  # the delayed set-up
read -r WX WY WW WH < <(probe info Ostrel | rect_of)
read -r CW CH < <(probe info Ostrel | sed -n 's/^window .* client=\([0-9]*\),\([0-9]*\) .*/\1 \2/p')
BORDER=$(((WW - CW) / 2))
CX=$((WX + BORDER))
CY=$((WY + WH - CH - BORDER))
# The help button is the last one of the upper toolbar (id 103), at its right end.
read -r TX TY TW TH < <(probe info Ostrel | grep '^child id=103 ' | rect_of)
[[ -n "$TW" ]] || fail "no upper toolbar"
click_help() {
  DISPLAY="$OSTREL_DISPLAY" xdotool mousemove $((CX + TX + TW - 11)) $((CY + TY + TH / 2)) click 1
}
shot help-window

click_help
eventually '[[ -s "$log" ]]' 10 || fail "the help button started no browser"
line=$(tr -d '\r' <"$log")
want="file:///$(winpath "$app/ostrel.htm" | tr '\\' / | sed 's/ /%20/g')#context-99"
[[ "$line" == *"\"$(winpath "$log")\" \"$want\"" ]] || fail "the browser got: $line (want ... $want)"
[[ $(wc -l <"$log") -eq 1 ]] || fail "the browser was started more than once: $(cat "$log")"

# The hotkey editor's help button (its bar is id 530) opens the same section; the
# macro-menu editor's (id 408), opened by "..." on a macro-menu definition, its own.
click_control Ostrel 102 20  # Add
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the function chooser"
press Home Down Down Down Down Down Down Down Down Return  # "Sendkeys Menu"
probe wait "Configure: Sendkeys Menu" 5000 >/dev/null || fail "no hotkey editor"
click_control "Configure: Sendkeys Menu" 530
eventually '[[ $(wc -l <"$log") -ge 2 ]]' 10 || fail "the hotkey editor's help started no browser"
[[ "$(tail -1 "$log" | tr -d '\r')" == *"\"$want\"" ]] || fail "the editor's help: $(tail -1 "$log")"
press Tab Tab Tab Tab Tab space
probe wait "SendKeys List Configuration" 5000 >/dev/null || fail "\"...\" opened no macro-menu editor"
click_control "SendKeys List Configuration" 408
eventually '[[ $(wc -l <"$log") -ge 3 ]]' 10 || fail "the macro-menu editor's help started no browser"
[[ "$(tail -1 "$log" | tr -d '\r')" == *"\"${want%-99}-40\"" ]] \
  || fail "the macro-menu editor's help: $(tail -1 "$log")"
shot help-editors
press alt+e
probe gone "SendKeys List Configuration" 5000 || fail "Exit did not close the macro-menu editor"
sleep 0.5
press Escape
probe gone "Configure: Sendkeys Menu" 5000 || fail "Escape did not close the hotkey editor"

# The page gone: an error box that names it, and no browser.
rm "$app/ostrel.htm" "$log"
sleep 1.2
click_help
msg=$(probe dialog Error 5000) || fail "no error box for a missing help page"
grep -qF "$(winpath "$app/ostrel.htm")" <<<"$msg" || fail "the error does not name the page: $msg"
[[ ! -e "$log" ]] || fail "a browser was started for a missing page: $(cat "$log")"
echo "PASS: help page"
