#!/usr/bin/env bash
# Two captures of one script give byte-identical frames and sound, whether
# ffmpeg runs beside them or not, and whatever the pointer and keys do to
# the capturing window meanwhile; the one with ffmpeg leaves a whole video
# with sound at the show's own rate, and the music sounds from frame 0.
set -u
source "$(dirname "$0")/harness.sh" "$@"

# After the boot: the mode menu, DOSCOPY (drive noises, a random bad
# sector map), the speed arrow, and keys held over a part change.
cat "$here/scripts/doscopy.txt" - >"$work/script.txt" <<'SCRIPT'
f940 move 215 57
f941 press
f944 release
f950 keydown up
f990 keyup up
SCRIPT
seconds=16
frames=1067  # 16 s of 15 ms frames, rounded

capture() {  # capture NAME [env...]: one run into $work/NAME
    (cd "$build" && "$here/../with_display.sh" env "${@:2}" ./floxa --capture "$work/$1" \
        --seconds $seconds --png-every 50 --script "$work/script.txt" >"$work/$1.log" 2>&1)
    local status=$?
    [ "$status" -eq 0 ] || { tail -20 "$work/$1.log"; fail "capture $1 ended with status $status"; }
}

# Capture a runs with a hand on its window: the pointer clicks across it
# and Escape is tapped, all the time. A capture takes only the script.
cat >"$work/hand.sh" <<'HAND'
"$@" & pid=$!
while kill -0 $pid 2>/dev/null; do
    w=$(xdotool search --name "^KALDERO - FLOXA$" | head -1)
    [ -n "$w" ] && xdotool mousemove --window "$w" $((RANDOM % 1280)) $((RANDOM % 720)) click 1 key Escape key Up 2>/dev/null
    sleep 0.3
done
wait $pid
HAND
capture a bash "$work/hand.sh"
capture b PATH=/nonexistent
grep -q "cannot start ffmpeg" "$work/b.log" || fail "a capture without ffmpeg does not say the video was skipped"
[ ! -e "$work/b/floxa.mp4" ] || fail "a capture without ffmpeg left a video"

# Byte for byte.
cmp "$work/a/audio.wav" "$work/b/audio.wav" || fail "the two WAVs differ"
pngs=0
for f in "$work"/a/frame-*.png; do
    cmp -s "$f" "$work/b/$(basename "$f")" || fail "$(basename "$f") differs between the captures"
    pngs=$((pngs + 1))
done
[ "$pngs" -eq $(((frames + 49) / 50)) ] || fail "$pngs PNG frames, not one in every 50 of $frames"
echo "ok: two captures of one script: identical WAV and $pngs identical PNG frames"

# The WAV lasts exactly the frames' time: 661.5 sample frames each.
bytes=$(stat -c %s "$work/a/audio.wav")
[ "$bytes" -eq $((44 + frames * 1323 / 2 * 4)) ] || fail "the WAV holds $bytes bytes, not $frames frames' time"
grep -q "Capture done: $frames frames" "$work/a.log" || fail "no summary of $frames frames"
grep -q "floxa.mp4  video with sound" "$work/a.log" || fail "the summary does not name the video"

probe() { ffprobe -v error -select_streams "$1" -show_entries "stream=$2" -of default=nw=1:nk=1 "$work/a/floxa.mp4"; }
[ "$(probe v codec_name,width,height,r_frame_rate,nb_frames | tr '\n' ' ')" = "h264 1280 720 200/3 $frames " ] ||
    fail "video stream: $(probe v codec_name,width,height,r_frame_rate,nb_frames | tr '\n' ' ')"
[ "$(probe a codec_name,sample_rate,channels | tr '\n' ' ')" = "aac 44100 2 " ] ||
    fail "sound stream: $(probe a codec_name,sample_rate,channels | tr '\n' ' ')"
[ ! -e "$work/a/floxa-video.mp4" ] || fail "the video without sound was left behind"
echo "ok: floxa.mp4 holds $frames frames at 200/3 per second and the sound"

# The music plays from the very first frame.
rms=$(sox "$work/a/audio.wav" -n trim 0 0.015 stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }' || fail "the first frame's 15 ms are silent (RMS $rms)"
echo "ok: the music sounds from frame 0 (RMS $rms)"
