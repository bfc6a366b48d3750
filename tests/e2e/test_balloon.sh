#!/usr/bin/env bash
# The buttons' hints are balloons: the mouse resting on "Add" for a little over a second
# shows a balloon window beside the cursor, in front but not active, painted with its
# fill and its dithered shadow; it goes when the mouse leaves, and none comes up while a
# mouse button is held.
source "$(dirname "$0")/lib.sh"

hint="Add a new Hot Key  and OstrelMenu Command"
mouse() { DISPLAY="$OSTREL_DISPLAY" xdotool "$@"; }
balloon_shown() { probe wait "$hint" 0 >/dev/null; }

app=$(fresh_app_dir balloon)
start_ostrel "$app"
probe wait Ostrel 15000 >/dev/null || fail "the configuration window did not appear"
probe front Ostrel >/dev/null || true
sleep 1

# The Add button is the first of the toolbar under the tree (control 102).
read -r ox oy <<<"$(client_origin Ostrel)"
read -r bx by bw bh <<<"$(probe info Ostrel | tr -d '\r' | grep '^child id=102 ' | rect_of)"
[[ -n "$bh" ]] || fail "no toolbar under the tree"
ax=$((ox + bx + 20)) ay=$((oy + by + bh / 2))
mouse mousemove $((ox + 300)) $((oy + 120))  # on the help text, which has no hint
sleep 0.5

# Resting on Add: after the one-second pause, a balloon.
mouse mousemove "$ax" "$ay"
start=$(date +%s.%N)
eventually balloon_shown 8 || fail "no balloon after resting on Add"
elapsed=$(python3 -c "import sys; print(f'{float(sys.argv[2]) - float(sys.argv[1]):.2f}')" "$start" "$(date +%s.%N)")
echo "balloon after ${elapsed} s"
info=$(probe info "$hint" | tr -d '\r')
echo "$info"
grep -q '^window class=TBalloonHintWindow visible=1 ' <<<"$info" || fail "not a balloon window: $info"
read -r x y w h <<<"$(rect_of <<<"$info")"
# Above and to the right, its bottom-left corner at the cursor.
[[ $x -eq $ax && $((y + h)) -eq $ay ]] || fail "balloon at $x,$y ${w}x$h, cursor at $ax,$ay"
[[ "$(probe foreground | tr -d '\r')" != *"$hint"* ]] || fail "the balloon took the activation"
sleep 0.5
shot balloon-add
png="$ARTIFACTS/balloon-add.png"
# The body in the hint colour (Wine's tool-tip yellow), and the shadow: the strip right of
# the body, d = 8 pixels wide, with about every second pixel darkened.
fill=$(count_colour "$png" $((x + 20)) $((y + 3)) $((w - 45)) 6 255 255 225)
[[ $fill -gt $(((w - 45) * 6 / 2)) ]] || fail "the balloon's body is not painted ($fill pixels)"
dark=$(count_colour "$png" $((x + w - 6)) $((y + 20)) 4 10 0 0 0)
[[ $dark -ge 10 && $dark -le 30 ]] || fail "no dithered shadow beside the body ($dark of 40 dark)"

# Leaving the button ends it.
mouse mousemove $((ox + 300)) $((oy + 120))
eventually '! balloon_shown' 5 || fail "the balloon stayed after the mouse left"

# A button held down while coming onto Add: no balloon.
mouse mousemove $((ox + 300)) $((oy + 20)) mousedown 1
mouse mousemove "$ax" "$ay"
sleep 2.5
if balloon_shown; then
  mouse mouseup 1
  fail "a balloon came up while the mouse button was held"
fi
mouse mouseup 1
echo "PASS"
