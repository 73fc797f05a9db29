#!/usr/bin/env bash
# The whole show as a user sees it, in the real floxa with the real archive
# under a private Xvfb: the boot texts, the copier screen, the drawn cursor
# under the hand, then with real pointer clicks the disk copy from the mode
# menu, a CHIP-8 program from the Toolkit menu, a speed arrow, and quit.
# Boxes and counts are in the copier's own pixels. The pictures are kept in
# BUILD/tests/e2e-pictures/.
set -u
source "$(dirname "$0")/harness.sh" "$@"
needs "$floxa" "$build/floxa.dat" "$unwarp" "$build/corepack"

# Clicks the menu title at copier pixel ($1, $2) and waits until the
# menu's box ($3,$4)-($5,$6) shows more than 300 green pixels more than on
# picture $7, taken before: an open menu adds some 600 to the fields
# behind it.
open_menu() {
    measure "$3" "$4" "$5" "$6" "$7"; local closed=$green
    click "$1" "$2"
    wait_region menu 30 "$3" "$4" "$5" "$6" "green > closed + 300" ||
        fail "the menu at $1,$2 did not open ($closed -> $green green pixels)"
}

start_xvfb
start_wm
start_floxa "$build" --windowed

# Boot: "LOADING..." in green, a blank pause, then the sign-on.
wait_picture boot 60 "count green" "n > 300"; keep boot boot-loading
wait_picture pause 30 "count green" "n < 50"
wait_picture boot 30 "count green" "n > 300"; keep boot boot-signon
wait_copier; keep copier copier
echo "ok: the boot texts appear and the copier screen follows"

# The pointer onto the part-name field: the drawn cursor appears right
# there, under the hand, and nowhere up and left of it.
aim 53 67 copier
xdotool mousemove --window "$win" "$x" "$y"
wait_change pointer 30 51 65 62 76 copier 10 || fail "no drawn cursor under the pointer ($changed pixels changed there)"
changes pointer copier 39 53 50 64
((changed < 4)) || fail "the drawn cursor is not under the pointer ($changed pixels changed up and left of it)"
keep pointer pointer
echo "ok: the drawn cursor sits under the pointer"

# Mode menu, "DOSCOPY": the maps fill, and the copy message stands in the
# status line, drawn up to x 208 and no further.
measure 139 109 218 180 pointer; empty=$mean
open_menu 28 49 10 58 94 160 pointer
keep menu mode-menu
click 50 72
wait_region doscopy 60 139 109 218 180 "mean > empty + 15" ||
    fail "the copy does not fill the map (brightness $empty -> $mean)"
keep doscopy doscopy
# The message has some 150 green pixels; the banner before it runs on to
# the line's end, and an empty line has none.
measure 8 188 208 195 doscopy; text=$green
measure 216 188 318 195 doscopy
((text > 100 && green < 3)) ||
    fail "the status line does not show the copy message ($text green pixels in it, $green after its end)"
echo "ok: DOSCOPY fills the map with the copy message below ($text green pixels)"

# Toolkit menu, "IBM LOGO": the maps show the CHIP-8 picture (some 400
# red pixels; the copy's bad sectors are a few dozen).
measure 139 109 312 180 doscopy; copyred=$red
open_menu 68 49 50 58 134 100 doscopy
click 92 72
wait_region chip8 30 139 109 312 180 "red > copyred + 150" ||
    fail "the maps do not show the CHIP-8 picture ($copyred -> $red red pixels)"
keep chip8 chip8
# The still copy message ends at x 208; the CHIP-8 hint scrolls across the
# whole line, so its text comes by the line's right end.
wait_region hint 40 216 188 318 195 "green > 10" || fail "the status line shows no CHIP-8 text"
echo "ok: a CHIP-8 program from the Toolkit menu shows in the maps, its hint in the status line"

# A speed arrow changes the speed field.
click 232 58
wait_change faster 30 228 62 259 69 chip8 8 || fail "the speed field did not change ($changed pixels)"
keep faster speed-up
echo "ok: the speed arrow changes the speed field ($changed pixels)"

# The quit button ends floxa with status 0.
click 289 85
expect_exit 30
echo "ok: the quit button ends floxa"
