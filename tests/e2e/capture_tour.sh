#!/usr/bin/env bash
# The capture tour: one scripted capture of the whole show with the real
# archive (the boot, then every control of the copier, every CHIP-8
# program of the TOOLKIT menu, a disk copy to its end, QUIT), checked frame
# by frame against reference crops and, in its WAV, for the music and the
# drive noises. The checks are listed in scripts/tour-checks.txt, the input
# in scripts/tour.txt. A capture runs on a frame clock, so every frame and
# every sample is the same on each run: the tolerances only absorb rounding
# differences between renderers.
#
# On a failure the difference picture and the frame go to
# BUILD/tests/e2e-pictures/tour/. TOUR_CAPTURE=DIR checks an earlier capture
# kept in DIR instead of making a new one (KEEP_WORK=1 keeps it);
# TOUR_UPDATE=1 writes the references from the capture instead of checking
# them (reference/update.sh).
set -u
source "$(dirname "$0")/harness.sh" "$@"
table=$here/scripts/tour-checks.txt
refs=$here/reference
pictures=$build/tests/e2e-pictures
failures=$pictures/tour
update=${TOUR_UPDATE:-}

# The quit click in tour.txt is pressed at this frame; the capture ends
# with it, before the --seconds limit below.
quit_frame=2402
seconds=40

needs "$floxa" "$build/floxa.dat" "$unwarp"
command -v sox >/dev/null || fail "sox is needed to measure the WAV"

# ---- the capture
cap=${TOUR_CAPTURE:-}
if [ -z "$cap" ]; then
    cap=$work/capture
    started=$SECONDS
    # No ffmpeg on the PATH: the video is not looked at, and skipping it
    # saves a third of the time.
    (cd "$build" && "$here/../with_display.sh" env PATH=/nonexistent SDL_AUDIODRIVER=dummy "$floxa" \
        --capture "$cap" --seconds "$seconds" --png-every 10 --script "$here/scripts/tour.txt") \
        >"$work/capture.log" 2>&1
    status=$?
    echo "capture: $((SECONDS - started)) s"
    grep -E "^(Capture|capture:|  )" "$work/capture.log"
    [ "$status" -eq 0 ] || { tail -20 "$work/capture.log"; fail "floxa --capture exited with status $status"; }
    # QUIT ends the show at the end of the frame it is pressed in.
    frames=$((quit_frame + 1))
    grep -q "^Capture done: $frames frames" "$work/capture.log" ||
        fail "QUIT at frame $quit_frame should end the capture after $frames frames"
    echo "ok: QUIT at frame $quit_frame ended the capture after $frames frames"
fi
wav=$cap/audio.wav
[ -f "$wav" ] || fail "no $wav"

# ---- the checks
declare -A box step written
checks=0 failed=0
mkdir -p "$pictures"
rm -rf "$failures"

frame() { printf '%s/frame-%05d.png' "$cap" "$1"; }

# Box $2 of capture frame $1 in the copier's own pixels, read once; sets
# $crop to its file and $cells to its pixel count.
crop() {
    local b
    read -r -a b <<<"${box[$2]}"
    cells=$(((b[2] - b[0] + 1) / step[$2] * ((b[3] - b[1] + 1) / step[$2])))
    mkdir -p "$work/crops"
    crop=$work/crops/$1-$2.png
    [ -f "$crop" ] || "$unwarp" --frame "$1" "$(frame "$1")" ${box[$2]} "${step[$2]}" "$crop" ||
        fail "cannot read box $2 of frame $1"
}

# Box $3 of frame $2 cut down to the cells of box $4, as $1.png: sets
# $crop and $cells.
inner() {
    local b i
    read -r -a b <<<"${box[$3]}"
    read -r -a i <<<"${box[$4]}"
    local s=${step[$3]} dx=$((i[0] - b[0])) dy=$((i[1] - b[1])) w=$((i[2] - i[0] + 1)) h=$((i[3] - i[1] + 1))
    ((dx % s == 0 && dy % s == 0 && w % s == 0 && h % s == 0 && dx >= 0 && dy >= 0)) ||
        fail "$table: box $4 does not lie on the cells of box $3"
    crop "$2" "$3"
    convert "$crop" -crop "$((w / s))x$((h / s))+$((dx / s))+$((dy / s))" +repage "$work/crops/$1.png"
    crop=$work/crops/$1.png cells=$((w / s * (h / s)))
}

# Sets $off and $pixels for two crops of the box read last: the pixels
# with a channel more than 48 of 255 apart, and all of them.
tally() {
    off=$(differ "$1" "$2") || fail "$off"
    pixels=$cells
}

# At most 0.25 % of the pixels may be off: rounding differences between
# renderers, never a glyph or a field.
within() { ((off * 400 <= pixels)); }

# Counts the outcome of a check named $1 (its line is $2) that compared
# crops $4 and $5 and held if $3 is true; a failed check leaves its
# difference picture beside the frames: both sides and the pixels off in
# red, enlarged.
outcome() {
    checks=$((checks + 1))
    if [ "$3" = true ]; then
        echo "$2: ok"
        return
    fi
    echo "$2: FAILED"
    failed=$((failed + 1))
    mkdir -p "$failures"
    compare -fuzz 19% "$4" "$5" "$work/marked.png" 2>/dev/null
    convert "$4" "$5" "$work/marked.png" -scale 400% -background '#282828' -splice 0x2 -append \
        "$failures/$1.png"
    echo "  difference picture: $failures/$1.png"
}

# off N of M pixels, as the outcome lines say it
says() { echo "$off of $pixels pixels off by more than 48"; }

# Checks box $3 of frame $2 against reference $1 (unlike: it must not match).
check_ref() {
    local name=$1 at=$2 area=$3 kind=$4 ref=$refs/$1.png
    [ -f "$ref" ] || fail "no reference $ref (tests/e2e/reference/update.sh writes them)"
    crop "$at" "$area"
    tally "$ref" "$crop"
    local held=false
    if within; then [ "$kind" = ref ] && held=true; else [ "$kind" = unlike ] && held=true; fi
    outcome "$name-$at" "$kind: frame $at box $area against $name.png: $(says)" "$held" "$ref" "$crop"
    [ "$held" = true ] || cp "$(frame "$at")" "$failures/"
}

# Seconds from the capture's start to frame $1, for sox.
at() { printf '%d.%03d' $(($1 * 15 / 1000)) $(($1 * 15 % 1000)); }

# The WAV's RMS amplitude over frames $1..$2-1, in millionths.
level() {
    sox "$wav" -n trim "$(at "$1")" "$(at $(($2 - $1)))" stat 2>&1 |
        awk '/^RMS +amplitude/ { printf "%d\n", $3 * 1000000 }'
}

# Music and noises are loud above 0.01; a muted mix is exactly silent.
sound() {
    local kind=$1 from=$2 to=$3 rms ok
    rms=$(level "$from" "$to")
    [ -n "$rms" ] || rms=-1
    if [ "$kind" = loud ]; then ((rms >= 10000)) && ok=1 || ok=""; else ((rms >= 0 && rms < 1000)) && ok=1 || ok=""; fi
    checks=$((checks + 1))
    printf '%s frames %d-%d (from %s s): RMS amplitude %d.%06d: %s\n' "$kind" "$from" "$((to - 1))" \
        "$(at "$from")" $((rms / 1000000)) $((rms % 1000000)) "$([ -n "$ok" ] && echo ok || echo FAILED)"
    [ -n "$ok" ] || failed=$((failed + 1))
}

# Every box a line names must have been defined above it.
need() {
    local name
    for name; do [ -n "${box[$name]:-}" ] || fail "$table: no box named $name"; done
}

while read -r kind a b c d e f g; do
    case "$kind" in
    ref | unlike) need "$c" ;;
    same | differs) need "$c" ;;
    changed) need "$c" "$d" ;;
    box | loud | quiet | keep) ;;
    *) fail "$table: no check is called $kind" ;;
    esac
    case "$kind" in
    box)
        box[$a]="$b $c $d $e"
        step[$a]=${f:-1}
        ;;
    ref)
        if [ -n "$update" ]; then
            if [ -z "${written[$a]:-}" ]; then
                crop "$b" "$c" && cp "$crop" "$refs/$a.png" || fail "cannot write $refs/$a.png"
                written[$a]=1
            fi
            continue
        fi
        check_ref "$a" "$b" "$c" ref
        ;;
    unlike)
        # A reference that must not match: the tolerances still tell the
        # values apart.
        check_ref "$a" "$b" "$c" unlike
        ;;
    same)
        crop "$a" "$c"; first=$crop
        crop "$b" "$c"
        tally "$first" "$crop"
        held=false; within && held=true
        outcome "same-$a-$b-$c" "same: frames $a and $b box $c: $(says)" $held "$first" "$crop"
        ;;
    differs | changed)
        # The box changed in at least 4 pixels inside the inner box and
        # outside it in no more than the tolerated share.
        area=${d:-$c}
        crop "$a" "$c"; first=$crop
        crop "$b" "$c"; second=$crop
        tally "$first" "$second"
        total=$off all=$pixels
        inner "$a-$c-$area" "$a" "$c" "$area"; i1=$crop
        inner "$b-$c-$area" "$b" "$c" "$area"
        tally "$i1" "$crop"
        inside=$off
        off=$((total - inside)) pixels=$((all - pixels))
        held=false; within && ((inside >= 4)) && held=true
        outcome "$kind-$a-$b-$area" "$kind: frames $a to $b box $c: $inside changed inside $area (4 needed), $(says) outside it" \
            $held "$first" "$second"
        ;;
    loud | quiet)
        sound "$kind" "$a" "$b"
        ;;
    keep)
        [ -n "$update" ] || cp "$(frame "$b")" "$pictures/tour-$a.png"
        ;;
    esac
done < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$table")

# The WAV holds exactly the frames' time: 44100 Hz stereo, 16 bits.
wavformat="$(soxi -r "$wav") Hz, $(soxi -c "$wav") channels, $(soxi -b "$wav") bits, $(soxi -s "$wav") samples"
want="44100 Hz, 2 channels, 16 bits, $(((quit_frame + 1) * 15 * 44100 / 1000)) samples"
checks=$((checks + 1))
if [ "$wavformat" = "$want" ]; then
    echo "audio.wav: $wavformat: ok"
else
    echo "audio.wav: $wavformat, not $want: FAILED"
    failed=$((failed + 1))
fi

if [ -n "$update" ]; then
    for r in "$refs"/*.png; do
        n=$(basename "$r" .png)
        [ -n "${written[$n]:-}" ] || { echo "removing unused $r"; rm -f "$r"; }
    done
    echo "references written: ${#written[@]} into $refs (look at them before committing)"
fi
echo "$checks checks, $failed failed"
[ "$failed" -eq 0 ] || fail "$failed of $checks checks failed; pictures in $failures"
echo "ok: the capture tour"
