#!/usr/bin/env bash
# The video a newcomer gets: scripts/run.sh with no display and no
# arguments records scripts/showreel.txt into capture/floxa.mp4. It must be
# whole (a video and a sound stream, the reel's length, ended by its QUIT
# click), its sound at the loudness video sites play at while audio.wav
# keeps the program's own mix, and its frames at a few moments the right
# scenes (an effect, the disk copy, the CHIP-8 hearts), against small
# crops of a good run in reference/showreel-*.png. First, in any build
# folder, a short capture at --size 1920x1080 must be a 1920x1080 video.
# And run.sh given arguments must hand them on to floxa --capture.
#
# The showreel itself runs only for the project's own build/ folder, the
# one run.sh builds and uses (exit status 77, CTest's skip, elsewhere); it
# rewrites capture/ as a newcomer's run does. SHOWREEL_UPDATE=1 writes the
# references from the run instead of checking them (look at them first).
set -u
source "$(dirname "$0")/harness.sh" "$@"
root=$(cd "$here/../.." && pwd)
reel=$root/scripts/showreel.txt

# stream FILE v|a ENTRIES: ffprobe's values of the video or the sound stream.
stream() {
    ffprobe -v error -select_streams "$2" -show_entries "stream=$3" -of csv=p=0 "$1"
}

# ---- full HD, in any build folder
needs "$floxa" "$build/floxa.dat"
(cd "$build" && "$here/../with_display.sh" env SDL_AUDIODRIVER=dummy ./floxa --capture "$work/hd" \
    --seconds 1 --size 1920x1080 >"$work/hd.log" 2>&1) || { cat "$work/hd.log"; fail "the 1920x1080 capture failed"; }
size=$(stream "$work/hd/floxa.mp4" v width,height)
[ "$size" = "1920,1080" ] || fail "--size 1920x1080 gave a video of $size"
echo "ok: --size 1920x1080 records a 1920x1080 video"

[ "$build" = "$root/build" ] || { echo "skipped the showreel: run.sh uses $root/build, not $build"; exit 77; }

# ---- the newcomer's command
# QUIT is the reel's last click: the show, and the capture, end with the
# frame it is pressed in.
quit=$(awk '$2 == "press" { f = $1 } END { print substr(f, 2) }' "$reel")
frames=$((quit + 1))
started=$SECONDS
(cd "$root" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 2300 scripts/run.sh >"$work/out" 2>&1)
status=$?
echo "run.sh: $((SECONDS - started)) s"
[ "$status" -eq 0 ] || fail "scripts/run.sh without a display ended with status $status"
grep -q "No display: recording the show to video instead" "$work/out" || fail "no word that it records instead"
grep -q "^frame $frames/$frames " "$work/out" || fail "no progress line up to frame $frames"
grep -q "^Capture done: $frames frames" "$work/out" ||
    fail "the reel's QUIT at frame $quit should end the capture after $frames frames: $(grep '^Capture' "$work/out")"
video=$root/capture/floxa.mp4 wav=$root/capture/audio.wav
grep -q "$video  video with sound" "$work/out" || fail "the summary does not say where the video is"
! grep -q "could not be measured" "$work/out" || fail "the sound's loudness was not measured"
echo "ok: run.sh recorded the showreel, $frames frames, into $video"
# With arguments, run.sh hands them to floxa after --capture capture/.
(cd "$root" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 300 scripts/run.sh --capture "$work/args" --seconds 1 \
    >"$work/args.log" 2>&1) || fail "scripts/run.sh --capture DIR --seconds 1 failed: $(tail -5 "$work/args.log")"
grep -q "^frame 67/67 " "$work/args.log" && [ -s "$work/args/floxa.mp4" ] && [ -s "$work/args/audio.wav" ] ||
    fail "scripts/run.sh did not pass its arguments on: $(tail -5 "$work/args.log")"
echo "ok: with arguments, run.sh records what they ask for"

# ---- the file
[ "$(stream "$video" v codec_name,width,height,r_frame_rate)" = "h264,1280,720,200/3" ] ||
    fail "the video stream is $(stream "$video" v codec_name,width,height,r_frame_rate)"
[ "$(stream "$video" a codec_name,sample_rate,channels)" = "aac,44100,2" ] ||
    fail "the sound stream is $(stream "$video" a codec_name,sample_rate,channels)"
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$video")
awk -v l="$length" -v f="$frames" 'BEGIN { exit !(l > f * 0.015 - 0.1 && l < f * 0.015 + 0.1) }' ||
    fail "the video lasts $length s, not the reel's $((frames * 15)) ms"
echo "ok: H.264 1280x720 and AAC stereo, $length s"

# ---- its loudness, and the WAV's
# loudness FILE: sets $lufs and $peak (true peak) from ebur128's summary.
loudness() {
    read -r lufs peak < <(ffmpeg -nostdin -hide_banner -nostats -i "$1" -map 0:a \
        -af ebur128=peak=true:framelog=verbose -f null - 2>&1 |
        awk '$1 == "I:" { i = $2 } $1 == "Peak:" { p = $2 } END { print i, p }')
    [ -n "$peak" ] || fail "cannot measure the loudness of $1"
}
loudness "$video"
awk -v i="$lufs" -v p="$peak" 'BEGIN { exit !(i >= -15 && i <= -13 && p <= -1) }' ||
    fail "the video's sound is at $lufs LUFS with true peaks at $peak dBTP, not -14 and at most -1"
echo "ok: the video's sound is at $lufs LUFS, true peaks at $peak dBTP"
loudness "$wav"
awk -v i="$lufs" 'BEGIN { exit !(i < -18) }' || fail "audio.wav is at $lufs LUFS: not the program's own mix"
echo "ok: audio.wav keeps the program's own mix at $lufs LUFS"

# ---- the scenes: frame (in frame order), box of the 1280x720 picture
# around both sector maps where the camera has them then, name, what it is
scenes=(
    "2700 500x225+575+385 heartbeat the HEARTBEAT part"
    "6600 595x260+555+385 diskcopy  the disk copy, its bad sectors in red"
    "7620 485x220+580+385 chip8     the CHIP-8 sketch pad's two hearts"
)
select=""
for s in "${scenes[@]}"; do
    read -r f _ <<<"$s"
    select+="${select:++}eq(n\\,$f)"
done
ffmpeg -nostdin -v error -i "$video" -vf "select=$select" -vsync 0 "$work/scene-%d.png" ||
    fail "cannot take the frames out of the video"
n=0 failed=0
for s in "${scenes[@]}"; do
    read -r f box name what <<<"$s"
    n=$((n + 1))
    shot=$work/scene-$n.png crop=$work/$name.png ref=$here/reference/showreel-$name.png
    convert "$shot" -crop "$box" +repage -resize 25% "$crop" || fail "cannot crop frame $f"
    if [ -n "${SHOWREEL_UPDATE:-}" ]; then
        cp "$crop" "$ref" && echo "wrote $ref"
        continue
    fi
    # Root mean square distance from 0 to 1: the same frame through another
    # encoder is 0.02 off, the same scene 50 frames later 0.05 or more,
    # another scene 0.14 or more.
    off=$(compare -metric RMSE "$ref" "$crop" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    if awk -v d="$off" 'BEGIN { exit !(d != "" && d < 0.04) }'; then
        echo "ok: frame $f shows $what (off by $off)"
    else
        echo "FAIL: frame $f does not show $what (off by ${off:-?}); kept as $build/tests/e2e-pictures/showreel-$name.png"
        mkdir -p "$build/tests/e2e-pictures" && cp "$shot" "$build/tests/e2e-pictures/showreel-$name.png"
        failed=1
    fi
done
[ "$failed" -eq 0 ] || fail "the showreel does not show its scenes"
