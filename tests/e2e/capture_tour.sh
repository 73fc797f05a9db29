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
build=$(cd "${1:?usage: capture_tour.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
floxa=$build/floxa
compare=$build/tests/pngcompare
table=$here/scripts/tour-checks.txt
refs=$here/reference
pictures=$build/tests/e2e-pictures
failures=$pictures/tour
update=${TOUR_UPDATE:-}

# The quit click in tour.txt is pressed at this frame; the capture ends
# with it, before the --seconds limit below.
quit_frame=2402
seconds=40

work=$(mktemp -d)
if [ -n "${KEEP_WORK:-}" ]; then trap 'echo "work kept in $work"' EXIT; else trap 'rm -rf "$work"' EXIT; fi

fail() {
    echo "FAIL: $*"
    exit 1
}

[ -x "$floxa" ] && [ -x "$compare" ] && [ -f "$build/floxa.dat" ] ||
    fail "build floxa, floxa.dat and tests/pngcompare first"
command -v sox >/dev/null || fail "sox is needed to measure the WAV"

# ---- the capture
cap=${TOUR_CAPTURE:-}
if [ -z "$cap" ]; then
    cap=$work/capture
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    started=$SECONDS
    # No ffmpeg on the PATH: the video is not looked at, and skipping it
    # saves a third of the time.
    (cd "$build" && "$here/../with_display.sh" env PATH=/nonexistent SDL_AUDIODRIVER=dummy "$floxa" \
        --capture "$cap" --seconds "$seconds" --png-every 10 --script "$here/scripts/tour.txt") \
        >"$work/out" 2>&1
    status=$?
    echo "capture: $((SECONDS - started)) s"
    grep -E "^(Capture|capture:|  )" "$work/out"
    [ "$status" -eq 0 ] || { tail -20 "$work/out"; fail "floxa --capture exited with status $status"; }
    # QUIT ends the show at the end of the frame it is pressed in.
    frames=$((quit_frame + 1))
    grep -q "^Capture done: $frames frames" "$work/out" ||
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

# Runs pngcompare (with the box's step) and counts the outcome; a failed
# check leaves its difference picture ($1) and the frames beside it.
run() {
    local diff=$1 s=$2 out status
    shift 2
    mkdir -p "$failures"
    out=$("$compare" --step "$s" "$@" "$failures/$diff.png" 2>&1)
    status=$?
    echo "$out"
    checks=$((checks + 1))
    if [ "$status" -ne 0 ]; then
        failed=$((failed + 1))
        local f
        for f in "$@"; do [[ $f == */frame-*.png ]] && cp "$f" "$failures/"; done
    fi
    rmdir "$failures" 2>/dev/null
    return 0
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

boxargs() { echo "${box[$1]}"; }

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
        name=$a shot=$(frame "$b") area=$c
        if [ -n "$update" ] && [ -z "${written[$name]:-}" ]; then
            "$compare" --step "${step[$area]}" crop "$shot" $(boxargs "$area") "$refs/$name.png" ||
                fail "cannot write $refs/$name.png"
            written[$name]=1
            continue
        fi
        [ -f "$refs/$name.png" ] || fail "no reference $refs/$name.png (tests/e2e/reference/update.sh writes them)"
        run "$name-$b" "${step[$area]}" check "$shot" $(boxargs "$area") "$refs/$name.png"
        ;;
    unlike)
        # A reference that must not match: the tolerances still tell the
        # values apart.
        shot=$(frame "$b") area=$c
        out=$("$compare" --step "${step[$area]}" check "$shot" $(boxargs "$area") "$refs/$a.png" 2>&1)
        status=$?
        checks=$((checks + 1))
        if [ "$status" -eq 1 ]; then
            echo "unlike: ${out%: FAILED}: ok"
        else
            echo "unlike: $out: should not have matched"
            failed=$((failed + 1))
        fi
        ;;
    same)
        run "same-$a-$b-$c" "${step[$c]}" same "$(frame "$a")" "$(frame "$b")" $(boxargs "$c")
        ;;
    differs)
        run "differs-$a-$b-$c" "${step[$c]}" changed "$(frame "$a")" "$(frame "$b")" $(boxargs "$c") $(boxargs "$c")
        ;;
    changed)
        run "changed-$a-$b-$d" "${step[$c]}" changed "$(frame "$a")" "$(frame "$b")" $(boxargs "$c") $(boxargs "$d")
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
