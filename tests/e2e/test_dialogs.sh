#!/usr/bin/env bash
# Add and Update driven from the keyboard, as a user would: Add opens the function
# chooser and then the hotkey editor; OK stores the new definition in Keys.fil (its
# abbreviation in Keys.ini), registers its hotkey (which then runs it), and the checks
# refuse an empty name and a duplicate; Cancel stores nothing; Update moves a definition
# to another group and keeps it selected; "..." on a new macro-menu definition names
# SendKeyList_1.skl and opens the macro-menu editor.
source "$(dirname "$0")/lib.sh"

app=$(fresh_app_dir dialogs)
out="$app/ran.txt"
PYTHONPATH="$E2E_DIR" python3 - "$app/Keys.fil" <<'PY'
import sys
from keysfil import record
open(sys.argv[1], "wb").write(record("Agenda", "", 3, "C:\\agenda.txt")
                              + record("Mail", "Net", 13, "mailto:friend@example.org"))
PY
lines() { if [[ -f "$out" ]]; then grep -c added "$out" || true; else echo 0; fi; }
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }

# Clicks the tree's button at `index` (0 Add, 1 Update) on its tool bar (id 102).
click_tree_button() { click_control Ostrel 102 $((20 + $1 * 70)); }

start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
sleep 1
before=$(records)

# Add: choose "Run a program" (the fourth function), fill in the editor, OK.
click_tree_button 0
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the function chooser"
press Home Down Down Down
sleep 0.5
shot dialogs-chooser
press Return
probe wait "Configure: Run a program" 5000 >/dev/null || fail "OK did not open the hotkey editor"
shot dialogs-editor-new
typeit "Editor"
press Tab
typeit "Tools"
press Tab
for _ in $(seq 35); do press Down; done  # key "B"
press Tab
for _ in $(seq 6); do press Down; done   # "Ctrl+Alt"
press Tab
typeit 'C:\windows\system32\cmd.exe'
press Tab Tab
typeit "/c echo added>>$(winpath "$out")"
press alt+v  # the abbreviation's field
typeit ";ed"
sleep 0.3
shot dialogs-editor-filled
press Return
probe gone "Configure: Run a program" 5000 || fail "OK did not close the editor"
eventually 'has_record "^Tools|Editor|"' 5 || fail "the new definition was not stored"
row=$(records | grep "^Tools|Editor|")
[[ "$row" == "Tools|Editor|4|35|6|C:\\windows\\system32\\cmd.exe|/c echo added>>$(winpath "$out")||1|1" ]] \
  || fail "stored as: $row"
tr -d '\r' <"$app/Keys.ini" | grep -A4 -x 'Name=Editor' | grep -qx 'Abbreviation=;ed' ||
  fail "the abbreviation was not stored in Keys.ini: $(tr -d '\r' <"$app/Keys.ini")"
sleep 0.5
press ctrl+alt+b
eventually '[[ $(lines) -ge 1 ]]' 15 || fail "the new definition's hotkey did not run it"
shot dialogs-added

# The checks: an empty name, then a duplicate (ignoring case); Cancel keeps the file.
stored=$(records)
click_tree_button 0
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the chooser again"
press Home Down Down Down Return
probe wait "Configure: Run a program" 5000 >/dev/null || fail "the editor did not open again"
press Return
msg=$(probe dialog Error 5000) || fail "an empty name gave no error"
[[ "$msg" == *"text=You must enter a HotKey name."* ]] || fail "empty name: $msg"
probe gone Error 3000 || true
sleep 0.5
typeit "EDITOR"
press Tab
typeit "tools"
press Return
msg=$(probe dialog Error 5000) || fail "a duplicate name gave no error"
[[ "$msg" == *"text=Cannot add, That HotKey name already exists."* ]] || fail "duplicate: $msg"
probe gone Error 3000 || true
sleep 0.5
press Escape
probe gone "Configure: Run a program" 5000 || fail "Escape did not cancel the editor"
sleep 0.5
[[ "$(records)" == "$stored" ]] || fail "a cancelled editor changed Keys.fil"

# Update: select the new definition in the tree (Agenda, Net, Tools > Editor), move it
# to the group "Apps", keep its hotkey for Notepad only and switch it off (Keys.ini).
read -r ox oy <<<"$(client_origin Ostrel)"
mouse mousemove $((ox + 120)) $((oy + 200)) click 1
press Home Down Down Right Down
eventually 'has_control Ostrel "text=  Run a program$"' 5 \
  || fail "selecting the definition did not show its function in the status line"
click_tree_button 1
probe wait "Configure: Run a program" 5000 >/dev/null || fail "Update did not open the editor"
has_control "Configure: Run a program" "child id=500 .*text=Editor$" \
  || fail "the editor did not show the selected definition"
press Tab ctrl+a
typeit "Apps"
press alt+r Down Tab
typeit "notepad.exe"
press alt+f Return
probe gone "Configure: Run a program" 5000 || fail "OK did not close the editor"
eventually 'has_record "^Apps|Editor|4|35|6|"' 5 || fail "the update was not stored"
[[ "$(tr -d '\r' <"$app/Keys.ini" 2>/dev/null)" == *$'Group=Apps\nName=Editor\nOnly=notepad.exe\nHotkey=off'* ]] \
  || fail "Keys.ini holds: $(cat "$app/Keys.ini" 2>/dev/null)"
[[ $(records | grep -c "|Editor|") -eq 1 ]] || fail "the update left a second Editor"
shot dialogs-updated
# Still selected: Update opens on it again.
click_tree_button 1
probe wait "Configure: Run a program" 5000 >/dev/null || fail "the selection was lost"
has_control "Configure: Run a program" "child id=501 .*text=Apps$" \
  || fail "the editor did not show the moved definition"
has_control "Configure: Run a program" "child id=515 .*text=notepad.exe$" \
  || fail "the editor did not show the definition's programs"
press Escape
probe gone "Configure: Run a program" 5000 || fail "Escape did not cancel"

# A macro menu: "..." names the first free list file and opens the macro-menu editor.
click_tree_button 0
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the chooser"
press Home
for _ in $(seq 8); do press Down; done
press Return
probe wait "Configure: Sendkeys Menu" 5000 >/dev/null || fail "no editor for a macro menu"
typeit "Snippets"
press Tab Tab Tab Tab Tab space
probe wait "SendKeys List Configuration" 5000 >/dev/null \
  || fail "\"...\" did not open the macro-menu editor"
has_control "Configure: Sendkeys Menu" "child id=505 .*text=SendKeyList_1.skl$" \
  || fail "the list file was not named SendKeyList_1.skl"
shot dialogs-macro-editor
press alt+e
probe gone "SendKeys List Configuration" 5000 || fail "Exit did not close the macro-menu editor"
sleep 0.5
press alt+o  # Return would press "..." again, which has the focus
probe gone "Configure: Sendkeys Menu" 5000 || fail "OK did not close the editor"
eventually 'has_record "^|Snippets|17|0|0|SendKeyList_1.skl|"' 5 \
  || fail "the macro-menu definition was not stored"
[[ -f "$app/SendKeyList_1.skl" ]] || fail "the macro-menu editor wrote no list file"
# A folder to explore: "..." opens the folder browser over the editor; OK puts the chosen
# folder (the desktop, where the browser starts) into the target box.
click_tree_button 0
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the chooser"
press Home Return
probe wait "Configure: Explore a Folder" 5000 >/dev/null || fail "no editor for a folder"
typeit "Docs"
press Tab Tab Tab Tab Tab space
probe wait "Browse for Folder" 5000 >/dev/null || fail "\"...\" did not open the folder browser"
sleep 0.5
shot dialogs-folder-browser
press Return
probe gone "Browse for Folder" 5000 || fail "OK did not close the folder browser"
eventually 'has_control "Configure: Explore a Folder" "child id=505 .*text=[A-Z]:.*Desktop$"' 5 \
  || fail "the chosen folder did not reach the target box"
press Escape
probe gone "Configure: Explore a Folder" 5000 || fail "Escape did not close the editor"

# The definitions that were there from the start are untouched.
while IFS= read -r row; do
  has_record -xF "$row" || fail "lost or changed: $row"
done <<<"$before"
# "Terminate" chosen from the OstrelMenu while the editor is open ends the program and
# stores nothing of the half-typed definition.
stored=$(records)
click_tree_button 0
probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the chooser"
press Home Return
probe wait "Configure: Explore a Folder" 5000 >/dev/null || fail "no editor"
typeit "Half typed"
sleep 1.2  # menu requests within a second of the last are dropped
mouse mousemove 1012 757 click 1
probe menu 3000 >/dev/null || fail "the icon's menu did not pop up over the editor"
shot dialogs-terminate-menu
press Up Return
wait_ostrel_gone 10 || fail "Terminate did not end the program while the editor was open"
[[ "$(records)" == "$stored" ]] || fail "terminating with the editor open changed Keys.fil"
echo "PASS"
