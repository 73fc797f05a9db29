#!/usr/bin/env bash
# The launcher's options and its refusal to start without a display.
set -u
source "$(dirname "$0")/harness.sh" "$@"
out=$work/out

timeout 10 "$floxa" --help >"$out" 2>&1; status=$?
[ $status -eq 0 ] || fail "--help exited with $status"
grep -q -- "--windowed" "$out" || fail "--help does not list --windowed"

timeout 10 "$floxa" --fullscreen-please >"$out" 2>&1; status=$?
[ $status -eq 2 ] || fail "an unknown option exited with $status, not 2"
grep -q "unknown option '--fullscreen-please'" "$out" || fail "no message names the unknown option"

# No display at all: a message and status 1, not a crash.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 timeout 30 "$floxa" --windowed >"$out" 2>&1; status=$?
[ $status -eq 1 ] || fail "without a display floxa exited with $status, not 1"
grep -q "^Error: cannot open the display" "$out" || fail "no message about the missing display"
echo "ok"
