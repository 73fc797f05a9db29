#!/usr/bin/env bash
# A script drives the real floxa with no hand on the mouse: it opens the
# mode menu, chooses DOSCOPY, lets the copy run and quits, at fixed frames
# after the 880 boot frames. A malformed script stops floxa before it
# starts, naming the file and the line.
set -u
build=$(cd "${1:?usage: script.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/harness.sh"
[ -x "$floxa" ] && [ -x "$probe" ] || fail "floxa or screenprobe is not built"

printf 'f900 move 28 49\nf901 presss\n' >"$work/bad.txt"
(cd "$build" && timeout 20 "$floxa" --windowed --script "$work/bad.txt" >"$work/out" 2>&1)
status=$?
[ "$status" -eq 2 ] || fail "a malformed script gave status $status, not 2"
grep -q "bad.txt:2: unknown action" "$work/out" || fail "no FILE:LINE reason for the malformed script"
echo "ok: a malformed script is refused before anything starts"

# DOSCOPY, then quit once the copy has run a while.
cat "$(dirname "$0")/scripts/doscopy.txt" - >"$work/tour.txt" <<'TOUR'
f1400 move 289 85
f1401 press
f1405 release
TOUR
start_xvfb
start_wm
start_floxa "$build" --windowed --script "$work/tour.txt"
wait_copier
measure 139 109 218 180 copier; empty=$mean
wait_region doscopy 120 139 109 218 180 "mean > empty + 15" ||
    fail "the scripted DOSCOPY does not fill the map (brightness $empty -> $mean)"
keep doscopy scripted-doscopy
expect_exit 180
echo "ok: the script chooses DOSCOPY and quits by itself"
