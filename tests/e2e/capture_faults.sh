#!/usr/bin/env bash
# A capture meets bad input and failing surroundings: refused options and
# folders, a disk that fills, an encoder that gives up, a Ctrl-C, a script
# that leaves the screen and never lets go. Each says what happened, none
# hangs, and what was recorded stays readable.
set -u
source "$(dirname "$0")/harness.sh" "$@"
display=$here/../with_display.sh

# floxa ARGS...: runs in a private display, output in $work/out, status in $status.
floxa() {
    (cd "$build" && timeout 300 "$display" "$@" >"$work/out" 2>&1)
    status=$?
}
expect() {  # expect STATUS TEXT WHAT
    [ "$status" -eq "$1" ] || fail "$3: status $status, not $1"
    grep -qF -- "$2" "$work/out" || fail "$3: no \"$2\""
    echo "ok: $3"
}
# wav_whole FILE: the header's lengths match the file, and sox reads it.
wav_whole() {
    local size data
    size=$(stat -c %s "$1")
    data=$(od -An -tu4 -j40 -N4 "$1" | tr -d ' ')
    [ "$data" -eq $((size - 44)) ] || fail "$1: the header says $data data bytes, the file has $((size - 44))"
    sox "$1" -n stat 2>/dev/null || fail "$1 cannot be read"
}

# Refused before anything starts.
floxa ./floxa --capture /proc/floxa-capture
expect 2 "cannot make the folder /proc/floxa-capture" "a folder that cannot be made is refused"
floxa ./floxa --capture /etc/hostname
expect 2 "/etc/hostname is not a folder" "a file in the folder's place is refused"
floxa ./floxa --capture "$work/c" --seconds 0
expect 2 "--seconds wants a number of seconds" "zero seconds are refused"
floxa ./floxa --capture "$work/c" --png-every 2.5
expect 2 "--png-every wants a whole number" "a fraction of a frame is refused"
floxa ./floxa --seconds 3
expect 2 "--seconds and --png-every go with --capture DIR" "--seconds alone is refused"
floxa ./floxa --capture
expect 2 "a value is missing after '--capture'" "--capture without its folder is refused"
[ ! -e "$work/c" ] || fail "a refused capture made its folder"

# The disk fills: a file size limit makes every write past 300 KB fail as
# a full disk does. The WAV keeps what was written, with a true header.
floxa bash -c "ulimit -f 300; exec env PATH=/nonexistent ./floxa --capture '$work/full' --seconds 4 --png-every 1000"
expect 1 "cannot write $work/full/audio.wav: File too large; the capture ends at frame" "a full disk ends the capture"
grep -q "Capture incomplete" "$work/out" || fail "the summary does not say the capture is incomplete"
wav_whole "$work/full/audio.wav"
echo "ok: the WAV cut by the full disk is whole"

# An encoder that gives up after a few frames: the capture goes on without
# the video, and the WAV is complete.
mkdir "$work/bin"
printf '#!/bin/sh\n/usr/bin/head -c 10000000 >/dev/null\necho "ffmpeg: out of ideas" >&2\nexit 1\n' >"$work/bin/ffmpeg"
chmod +x "$work/bin/ffmpeg"
floxa env PATH="$work/bin:$PATH" ./floxa --capture "$work/early" --seconds 2
expect 1 "ffmpeg stopped at frame" "an encoder that stops early is reported"
grep -q "ffmpeg ended with status 1" "$work/out" || fail "the encoder's status is not reported"
wav_whole "$work/early/audio.wav"
[ "$(stat -c %s "$work/early/audio.wav")" -eq $((44 + 133 * 1323 / 2 * 4)) ] || fail "the WAV lost time with the video"
echo "ok: the WAV is complete without the video"

# Stopped from outside (SIGTERM; Ctrl-C in a terminal is the same): the
# show ends as when the window closes, the video is finished and holds
# every frame the summary counts. (A background job of a script ignores
# SIGINT, so the test sends SIGTERM.)
floxa bash -c "./floxa --capture '$work/int' --seconds 60 & pid=\$!; sleep 6; kill -TERM \$pid; wait \$pid"
expect 0 "Capture done:" "a stop from outside ends the capture cleanly"
frames=$(sed -n 's/^Capture done: \([0-9]*\) frames.*/\1/p' "$work/out")
[ "${frames:-0}" -gt 0 ] && [ "$frames" -lt 4000 ] || fail "$frames frames: the stop was not seen"
got=$(ffprobe -v error -select_streams v -show_entries stream=nb_frames -of default=nw=1:nk=1 "$work/int/floxa.mp4")
[ "$got" = "$frames" ] || fail "the video holds $got frames, the summary says $frames"
wav_whole "$work/int/audio.wav"
echo "ok: after the stop the video holds all $frames frames and the WAV is whole"

# A script that points far off the screen, presses there and never lets go.
printf 'f5 move -500 900\nf6 press\nf20 move 5000 -3000\nf30 keydown up\n' >"$work/script.txt"
floxa env PATH=/nonexistent ./floxa --capture "$work/held" --seconds 1 --script "$work/script.txt"
expect 0 "script.txt:1: the pointer goes to (-500, 900), outside the 320x200 screen" "a script off the screen is named"
grep -q "the script held 1 key and the button down to the end" "$work/out" || fail "held keys are not named"
echo "ok: keys and the button held to the end are named"
