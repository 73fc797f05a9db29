#!/usr/bin/env bash
# The whole show as a user sees it, in the real floxa with the real archive
# under a private Xvfb: the boot texts, the copier screen, the drawn cursor
# under the hand, then with real pointer clicks the disk copy from the mode
# menu, a CHIP-8 program from the Toolkit menu, a speed arrow, and quit.
# The pictures are kept in BUILD/tests/e2e-pictures/.
set -u
build=$(cd "${1:?usage: show.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/harness.sh"
[ -x "$floxa" ] && [ -x "$probe" ] || fail "floxa or screenprobe is not built"

start_xvfb
start_wm
start_floxa "$build" --windowed

# Boot: "LOADING..." in green, a blank pause, then the sign-on.
wait_picture boot 60 green "n > 300"; keep boot boot-loading
wait_picture pause 30 green "n < 50"
wait_picture boot 30 green "n > 300"; keep boot boot-signon
wait_copier; keep copier copier
echo "ok: the boot texts appear and the copier screen follows"

# The pointer onto the part-name field: the drawn cursor appears right
# there, under the hand, and nowhere up and left of it.
aim 53 67 copier
xdotool mousemove --window "$win" "$x" "$y"
px=$x py=$y
wait_change pointer 30 "$px" "$py" $((px + 16)) $((py + 16)) copier 40 ||
    fail "no drawn cursor under the pointer ($changed pixels changed there)"
before=$("$probe" changed "$work/pointer.png" "$work/copier.png" $((px - 20)) $((py - 20)) $((px - 4)) $((py - 4)))
((before < 10)) || fail "the drawn cursor is not under the pointer ($before pixels changed before it)"
keep pointer pointer
echo "ok: the drawn cursor sits under the pointer"

# Mode menu, "DOSCOPY": the maps fill and the status line stands still.
measure 139 109 218 180 pointer; empty=$mean
click 28 49
wait_region menu 30 10 58 94 160 "green > 200" || fail "the mode menu did not open ($green green pixels)"
keep menu mode-menu
click 50 72
wait_region doscopy 60 139 109 218 180 "mean > empty + 15" ||
    fail "the copy does not fill the map (brightness $empty -> $mean)"
keep doscopy doscopy
measure 216 188 318 195 doscopy
((green < 20)) || fail "the status line does not show the copy message ($green green pixels at its end)"
echo "ok: DOSCOPY fills the map with the copy message below"

# Toolkit menu, "IBM LOGO": the maps show the CHIP-8 picture.
measure 139 109 312 180 doscopy; copyred=$red
click 68 49
wait_region menu 30 50 58 134 100 "green > 100" || fail "the Toolkit menu did not open ($green green pixels)"
click 92 72
wait_region chip8 30 139 109 312 180 "red > copyred + 200" ||
    fail "the maps do not show the CHIP-8 picture ($copyred -> $red red pixels)"
keep chip8 chip8
# The still copy message ends at x 208; the CHIP-8 hint scrolls across the
# whole line, so its text comes by the line's right end.
wait_region hint 40 216 188 318 195 "green > 20" || fail "the status line shows no CHIP-8 text"
echo "ok: a CHIP-8 program from the Toolkit menu shows in the maps, its hint in the status line"

# A speed arrow changes the speed field.
aim 228 62 chip8; x0=$x y0=$y
aim 259 69 chip8; x1=$x y1=$y
click 232 58
wait_change faster 30 "$x0" "$y0" "$x1" "$y1" chip8 30 || fail "the speed field did not change ($changed pixels)"
keep faster speed-up
echo "ok: the speed arrow changes the speed field"

# The quit button ends floxa with status 0.
click 289 85
expect_exit 30
echo "ok: the quit button ends floxa"
