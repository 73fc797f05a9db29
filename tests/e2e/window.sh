#!/usr/bin/env bash
# Starts the real floxa under a private Xvfb as a user would, checks the
# window and the start-up lines, and ends it: with the Escape key, and by
# closing the window (during the boot screen too). Each run must exit with
# status 0 within a bounded time.
set -u
source "$(dirname "$0")/harness.sh" "$@"

check_window() {
    local info
    info=$(xwininfo -id "$win") || fail "cannot read the window"
    echo "$info" | grep -q "Width: 1280" || fail "window is not 1280 wide: $info"
    echo "$info" | grep -q "Height: 720" || fail "window is not 720 high: $info"
    wait_for "grep -q '^\[VXE\] Init OpenGL' '$work/out'" 100 || fail "no [VXE] start-up lines"
}

needs "$floxa"
start_xvfb

# A display whose OpenGL is older than 2.0: a message and status 1.
(cd "$build" && MESA_GL_VERSION_OVERRIDE=1.5 SDL_AUDIODRIVER=dummy timeout 60 "$floxa" --windowed >"$work/out" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "with OpenGL 1.5 floxa exited with $status, not 1"
grep -q "^Error: OpenGL 2.0 or later is needed" "$work/out" || fail "no message about OpenGL 2.0"
echo "ok: OpenGL 1.5 is refused with a message"

start_wm

# 1. Escape, held as a person holds a key (the boot reads no keys, so it is
# pressed again every second). Started from another folder, floxa moves to
# its own folder when the archive sits there.
start_floxa "$work"
check_window
if [ -f "$build/floxa.dat" ]; then
    [ "$(readlink "/proc/$app_pid/cwd")" = "$build" ] || fail "floxa did not move to the archive's folder"
fi
expect_exit 180 "tap_key Escape"
echo "ok: Escape ends floxa"

# 2. The window manager's close request, as the title-bar button sends it,
# in the middle of the boot screen.
start_floxa "$build"
check_window
close_window
expect_exit 10
echo "ok: closing the window during the boot ends floxa"
