#!/usr/bin/env bash
# floxa on a bad footing still shows the show: without its archive it boots
# and runs empty, says what it could not load and ends cleanly; without
# GLSL 1.20 it says so and shows the copier flat instead of a black window.
set -u
source "$(dirname "$0")/harness.sh" "$@"
needs "$floxa" "$build/floxa.dat"

start_xvfb
start_wm

# No archive: a copy of the program alone in an empty folder.
mkdir "$work/alone"
cp "$floxa" "$work/alone/"
floxa=$work/alone/floxa
start_floxa "$work/alone" --windowed
wait_for "grep -q 'floxa.dat' '$work/out'" 100 || fail "no word about the missing archive"
wait_for "grep -q 'crt2048.tga' '$work/out'" 100 || fail "no word about the missing pictures"
# The boot runs its course on an empty monitor; the loop then answers Escape.
expect_exit 180 "tap_key Escape"
echo "ok: without its archive floxa boots, says what is missing and ends on Escape"
start_floxa "$work/alone" --windowed
sleep 2
close_window
expect_exit 10
echo "ok: without its archive floxa ends when its window is closed"

# An OpenGL 2.0 that offers only GLSL 1.10: the CRT shader cannot build.
floxa=$build/floxa
FLOXA_ENV="MESA_GL_VERSION_OVERRIDE=2.0 MESA_GLSL_VERSION_OVERRIDE=110" start_floxa "$build" --windowed
wait_for "grep -q 'without the CRT effect' '$work/out'" 300 || fail "no word about the CRT shader"
wait_copier
keep copier copier-flat
expect_exit 30 "tap_key Escape"
echo "ok: without GLSL 1.20 the copier shows without the CRT effect"
