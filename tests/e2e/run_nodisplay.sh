#!/usr/bin/env bash
# The README's run command on a machine with no display: instead of
# failing, it records the show to video on a private X server and says
# where the files are. Exit status 77 is CTest's skip.
set -u
source "$(dirname "$0")/harness.sh" "$@"
root=$(cd "$here/../.." && pwd)

# The project's own build folder is the one run.sh builds and runs.
[ "$build" = "$root/build" ] || { echo "skipped: run.sh uses $root/build, not $build"; exit 77; }
(cd "$root" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 300 scripts/run.sh --capture "$work/video" --seconds 1 \
    >"$work/out" 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "scripts/run.sh without a display ended with status $status"
grep -q "No display: recording the show to video instead" "$work/out" || fail "no word that it records instead"
grep -q "$work/video/floxa.mp4  video with sound" "$work/out" || fail "the summary does not say where the video is"
[ -s "$work/video/floxa.mp4" ] && [ -s "$work/video/audio.wav" ] || fail "no video or WAV"
grep -q "^frame 67/67" "$work/out" || fail "no progress line"
echo "ok: with no display, scripts/run.sh records the show and names $work/video/floxa.mp4"
