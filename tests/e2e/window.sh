#!/usr/bin/env bash
# Starts the real floxa under a private Xvfb as a user would, checks the
# window and the start-up lines, and ends it twice: with the Escape key and
# by closing the window through a window manager. Each run must exit with
# status 0 within a bounded time.
set -u
build=$(cd "${1:?usage: window.sh BUILD_DIR}" && pwd)
floxa=$build/floxa
title="KALDERO - FLOXA"
work=$(mktemp -d)
xvfb_pid="" wm_pid="" app_pid=""

cleanup() {
    for pid in $app_pid $wm_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/out" ] && { echo "--- floxa output:"; cat "$work/out"; }
    exit 1
}

# Waits up to $2 tenths of a second for command $1 to succeed.
wait_for() {
    local i
    for ((i = 0; i < $2; i++)); do
        eval "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The server picks a free display number itself (-displayfd), so tests
# running in parallel never race for one.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1920x1080x24 +extension GLX -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for "[ -s '$work/display' ]" 100 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
}

# Starts floxa in folder $1 and waits up to 60 s for its window; sets $win.
# A floxa that dies before showing it fails at once.
start_floxa() {
    local i
    (cd "$1" && SDL_AUDIODRIVER=dummy exec "$floxa" >"$work/out" 2>&1) &
    app_pid=$!
    for ((i = 0; i < 600; i++)); do
        win=$(xdotool search --name "^$title\$" 2>/dev/null | head -1)
        [ -n "$win" ] && return 0
        kill -0 "$app_pid" 2>/dev/null || { app_pid=""; fail "floxa exited before showing its window"; }
        sleep 0.1
    done
    fail "no window titled '$title'"
}

check_window() {
    local info
    info=$(xwininfo -id "$win") || fail "cannot read the window"
    echo "$info" | grep -q "Width: 1280" || fail "window is not 1280 wide: $info"
    echo "$info" | grep -q "Height: 720" || fail "window is not 720 high: $info"
    # The window shows before the GL start-up lines are printed.
    wait_for "grep -q '^\[VXE\] Init OpenGL' '$work/out'" 100 || fail "no [VXE] start-up lines"
}

# Waits up to $1 seconds for floxa to exit and checks its status; while it
# runs, $2 (if given) is repeated every second (input is not read during
# the boot screen, so a single key press could be missed).
expect_exit() {
    local t status
    for ((t = 0; t < $1 * 10; t++)); do
        kill -0 "$app_pid" 2>/dev/null || break
        if [ -n "${2:-}" ] && ((t % 10 == 0)); then eval "$2" >/dev/null 2>&1; fi
        sleep 0.1
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        kill -9 "$app_pid"; wait "$app_pid" 2>/dev/null; app_pid=""
        fail "floxa did not exit within $1 s"
    fi
    wait "$app_pid"; status=$?; app_pid=""
    [ "$status" -eq 0 ] || fail "floxa exited with status $status"
}

[ -x "$floxa" ] || fail "$floxa is not built"
start_xvfb

# A display whose OpenGL is older than 2.0: a message and status 1.
(cd "$build" && MESA_GL_VERSION_OVERRIDE=1.5 SDL_AUDIODRIVER=dummy timeout 60 "$floxa" --windowed >"$work/out" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "with OpenGL 1.5 floxa exited with $status, not 1"
grep -q "^Error: OpenGL 2.0 or later is needed" "$work/out" || fail "no message about OpenGL 2.0"
echo "ok: OpenGL 1.5 is refused with a message"

# 1. Escape, held as a person holds a key. Started from another folder,
# floxa moves to its own folder when the archive sits there.
start_floxa "$work"
check_window
if [ -f "$build/floxa.dat" ]; then
    [ "$(readlink "/proc/$app_pid/cwd")" = "$build" ] || fail "floxa did not move to the archive's folder"
fi
expect_exit 180 "xdotool keydown --window $win Escape; sleep 0.2; xdotool keyup --window $win Escape"
echo "ok: Escape ends floxa"

# 2. The window manager's close request, as the title-bar button sends it.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wait_for "wmctrl -m" 100 || fail "openbox did not start"
start_floxa "$build"
check_window
wmctrl -c "$title" || fail "wmctrl could not close the window"
expect_exit 30
echo "ok: closing the window ends floxa"
