#!/usr/bin/env bash
# Every part of the show in the real floxa through the real CRT pass: the
# part-name field steps through them as a user clicks it, the mode menu
# picks the googly eyes. Each part must draw its own picture into the maps
# (more than 100 of their 12528 copier pixels change from the last part);
# the pictures are kept as BUILD/tests/e2e-pictures/part-NN.png.
set -u
source "$(dirname "$0")/harness.sh" "$@"
needs "$floxa" "$build/floxa.dat" "$unwarp" "$build/corepack"

# Waits for the maps to differ clearly from picture $2, then keeps them as part $1.
show_part() {
    wait_change "part$1" 30 139 109 312 180 "$2" 100 || fail "part $1 draws nothing new ($changed pixels)"
    echo "part $1: $changed of the maps' pixels changed"
    sleep 1.5
    shot "part$1"
    keep "part$1" "part-$1"
}

start_xvfb
start_wm
start_floxa "$build" --windowed
wait_copier
# The demo starts with the rain.
show_part 03 copier
previous=part03
for part in 04 05 06 07 08 09 10 11 12; do
    click 53 67
    show_part "$part" "$previous"
    previous=part$part
done
echo "ok: parts 3-12 each draw their own picture"

# The eyes only the user can choose: mode menu, third row; they look at the pointer.
click 28 49
click 50 80
show_part 02 "$previous"
echo "ok: the googly eyes"

click 289 85
expect_exit 30
