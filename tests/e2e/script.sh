#!/usr/bin/env bash
# A script drives the real floxa with no hand on the mouse: it opens the
# mode menu, chooses DOSCOPY, lets the copy run and ends the show with the
# Escape key, at fixed frames after the 880 boot frames. A malformed script stops floxa before it
# starts, naming the file and the line.
set -u
source "$(dirname "$0")/harness.sh" "$@"
needs "$floxa" "$build/floxa.dat" "$unwarp" "$build/corepack"

printf 'f900 move 28 49\nf901 presss\n' >"$work/bad.txt"
(cd "$build" && timeout 20 "$floxa" --windowed --script "$work/bad.txt" >"$work/out" 2>&1)
status=$?
[ "$status" -eq 2 ] || fail "a malformed script gave status $status, not 2"
grep -q "bad.txt:2: unknown action" "$work/out" || fail "no FILE:LINE reason for the malformed script"
echo "ok: a malformed script is refused before anything starts"

# DOSCOPY, then Escape once the copy has run a while.
cat "$here/scripts/doscopy.txt" - >"$work/tour.txt" <<'TOUR'
f1400 keydown escape
TOUR
start_xvfb
start_wm
start_floxa "$build" --windowed --script "$work/tour.txt"
wait_copier
measure 139 109 218 180 copier; empty=$mean
wait_region doscopy 120 139 109 218 180 "mean > empty + 15" ||
    fail "the scripted DOSCOPY does not fill the map (brightness $empty -> $mean)"
keep doscopy scripted-doscopy
# The copy filled the map after frame 897; the Escape comes 500 frames later.
expect_exit 120
echo "ok: the script chooses DOSCOPY and its Escape ends the show"
