# Shared by the end-to-end scripts: source it with the script's arguments.
# It sets $build (the build folder, $1), $here, $floxa, $unwarp and a
# private $work folder, removed on exit (KEEP_WORK=1 keeps it); fail()
# ends the test. For the scripts that drive the real window: a private
# Xvfb, a window manager, floxa itself, and its pictures read in the
# copier's own pixels (unwarp) and measured with ImageMagick.
build=$(cd "${1:?usage: $(basename "$0") BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
floxa=$build/floxa
unwarp=$build/tests/unwarp
title="KALDERO - FLOXA"
work=$(mktemp -d)
xvfb_pid="" wm_pid="" app_pid="" win=""
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

cleanup() {
    for pid in $app_pid $wm_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    if [ -n "${KEEP_WORK:-}" ]; then echo "work kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/out" ] && { echo "--- floxa output:"; grep -vE "^(Loading|width|found|TGA)" "$work/out" | tail -20; }
    [ -n "$xvfb_pid" ] && wmctrl -l 2>&1 | sed "s/^/wm: /"
    [ -n "$app_pid" ] && { kill -0 "$app_pid" 2>/dev/null && echo "floxa still runs" || echo "floxa has ended"; }
    [ -n "$wm_pid" ] && { kill -0 "$wm_pid" 2>/dev/null || echo "the window manager has ended: $(tail -5 "$work/openbox.log")"; }
    exit 1
}

# needs FILE...: the build products the test runs.
needs() {
    local f
    for f; do [ -x "$f" ] || [ -f "$f" ] || fail "$f is not built"; done
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

# -noreset: the server must outlive its last client, or the next one
# finds it resetting. -displayfd: it picks a free display number itself,
# so tests running in parallel never race for one.
start_xvfb() {
    Xvfb -displayfd 3 -noreset -screen 0 1920x1080x24 +extension GLX -nolisten tcp \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for "[ -s '$work/display' ]" 100 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
}

# A window manager, so that closing the window is the close request a user
# sends. Started again until it answers: under load the first start can lose
# the race for the display.
start_wm() {
    local try
    for try in 1 2 3; do
        openbox --sm-disable >"$work/openbox.log" 2>&1 &
        wm_pid=$!
        wait_for "wmctrl -m" 100 && return 0
        kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null; wm_pid=""
    done
    fail "openbox did not start: $(cat "$work/openbox.log")"
}

# Starts floxa ($2.. as arguments, environment from $FLOXA_ENV) in folder $1
# and waits up to 60 s until the window manager lists its window; sets $win.
# A floxa that dies before showing it fails at once.
start_floxa() {
    local dir=$1 i
    shift
    (cd "$dir" && exec env SDL_AUDIODRIVER=dummy ${FLOXA_ENV:-} "$floxa" "$@" >"$work/out" 2>&1) &
    app_pid=$!
    for ((i = 0; i < 600; i++)); do
        if wmctrl -l 2>/dev/null | grep -q " $title\$"; then
            win=$(xdotool search --name "^$title\$" 2>/dev/null | head -1)
            [ -n "$win" ] && return 0
        fi
        kill -0 "$app_pid" 2>/dev/null || { app_pid=""; fail "floxa exited before showing its window"; }
        sleep 0.1
    done
    fail "no window titled '$title'"
}

# Waits up to $1 seconds for floxa to exit and checks its status; while it
# runs, $2 (if given) is repeated every second.
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

# Taps key $1 in floxa's window. The release goes to whatever has the
# keyboard, not to the window: Escape may end floxa before it is sent, and
# a release aimed at a vanished window is never made, which leaves the key
# down in the X server for the next floxa (it then quits at its first frame).
tap_key() {
    xdotool keydown --window "$win" "$1"
    sleep 0.2
    xdotool keyup "$1"
}

# Closes the window as its title-bar button does; the window manager may be
# busy under load, so the request is repeated until it is taken.
close_window() {
    wait_for "wmctrl -c '$title'" 50 || fail "wmctrl could not close the window"
}

# A picture of the window into $work/$1.png; try_shot only says whether
# it worked, for the waits below, which ride out a moment in which the
# window manager has the window unmapped.
try_shot() {
    rm -f "$work/crops/$1"-*.png
    import -silent -window "$win" "png:$work/$1.png" 2>"$work/shot.log"
}

shot() {
    try_shot "$1" || fail "cannot take a picture of the window: $(cat "$work/shot.log")"
}

# Keeps picture $1 beside the build, for people to look at.
keep() {
    mkdir -p "$build/tests/e2e-pictures"
    cp "$work/$1.png" "$build/tests/e2e-pictures/$2.png"
}

# Mean brightness (0-765, the sum of the three channels) of picture file $1.
bright() {
    convert "$1" -format '%[fx:round(mean*765)]' info:
}

# Pixels of picture file $2 in colour $1 (green or red): that channel above
# 100 and more than twice each of the others.
count() {
    local m='-2 1 0  0 1 -2  0 1 0'
    [ "$1" = red ] && m='1 -2 0  1 0 -2  1 0 0'
    convert "$2" -color-matrix "$m" -channel R,G -threshold 0 -channel B -threshold 39.22% +channel \
        -separate -evaluate-sequence min -format '%[fx:round(mean*w*h)]' info:
}

# Pixels of two same-sized picture files with a channel more than 48 of
# 255 apart; a message and status 1 when they cannot be compared.
differ() {
    local n
    n=$(compare -metric AE -fuzz 19% "$1" "$2" null: 2>&1)
    [[ $n =~ ^[0-9.e+]+$ ]] || { echo "cannot compare $1 with $2: $n"; return 1; }
    printf '%.0f\n' "$n"
}

# Waits up to $2 seconds, taking pictures as $1, until "$3 <picture>"
# prints a number that makes the arithmetic test $4 (with n) true.
wait_picture() {
    local name=$1 seconds=$2 measure=$3 test=$4 t n
    for ((t = 0; t < seconds * 5; t++)); do
        try_shot "$name" || { sleep 0.2; continue; }
        n=$($measure "$work/$name.png")
        (( $test )) && return 0
        sleep 0.2
    done
    fail "waited $seconds s for $name ($measure: ${n:-no picture: $(cat "$work/shot.log")}, wanted $test)"
}

# Waits until the boot screen is over and the copier screen shows.
wait_copier() {
    wait_picture copier 120 bright "n > 150"
}

# The copier picture from the archive, which tells unwarp where the
# breathing camera has put the screen on a grab. The engine takes the
# file's first row for the top, whatever the TGA header says; ImageMagick
# honours the header, so the picture is flipped back.
copier=$work/copier-picture.png
fit_copier() {
    [ -f "$copier" ] && return 0
    "$build/corepack" cat "$build/floxa.dat" floxa2019_empty.tga 2>/dev/null | convert tga:- -flip "$copier" ||
        fail "cannot read the copier picture from $build/floxa.dat"
}

# Where copier pixel ($1, $2) shows in picture $3; sets $x and $y.
aim() {
    fit_copier
    read -r x y < <("$unwarp" --fit "$copier" "$work/$3.png" "$1" "$2")
    [ -n "$y" ] || fail "cannot find the copier in picture $3"
}

# Copier box ($2,$3)-($4,$5) of picture $1 in the copier's own pixels;
# sets $crop to its file.
crop() {
    fit_copier
    mkdir -p "$work/crops"
    crop=$work/crops/$1-$2-$3-$4-$5.png
    [ -f "$crop" ] || "$unwarp" --fit "$copier" "$work/$1.png" "$2" "$3" "$4" "$5" 1 "$crop" ||
        fail "cannot read the copier box $2,$3-$4,$5 of picture $1"
}

# Copier box ($1,$2)-($3,$4) of picture $5: sets $mean, $green and $red
# (counted in copier pixels).
measure() {
    crop "$5" "$1" "$2" "$3" "$4"
    mean=$(bright "$crop") green=$(count green "$crop") red=$(count red "$crop")
}

# Clicks copier pixel ($1, $2) as a person does: move there, press, hold,
# release. Frames are sampled, so the button is held for a while.
click() {
    shot aim
    aim "$1" "$2" aim
    xdotool mousemove --window "$win" "$x" "$y"
    sleep 0.3
    xdotool mousedown 1; sleep 0.3; xdotool mouseup 1
}

# Takes pictures as $1 for up to $2 seconds until the copier box ($3,$4)-
# ($5,$6) measures so that the arithmetic test $7 (on mean, green, red)
# holds. The frame rate under a software renderer varies with the load, so
# every check waits for what it expects rather than for a fixed time.
wait_region() {
    local t
    for ((t = 0; t < $2 * 4; t++)); do
        try_shot "$1" || { sleep 0.25; continue; }
        measure "$3" "$4" "$5" "$6" "$1"
        (( $7 )) && return 0
        sleep 0.25
    done
    return 1
}

# Copier pixels of box ($3,$4)-($5,$6) that differ between pictures $1 and
# $2; sets $changed.
changes() {
    local a
    crop "$1" "$3" "$4" "$5" "$6"; a=$crop
    crop "$2" "$3" "$4" "$5" "$6"
    changed=$(differ "$a" "$crop") || fail "$changed"
}

# Takes pictures as $1 for up to $2 seconds until the copier box ($3,$4)-
# ($5,$6) differs from picture $7 in more than $8 pixels; sets $changed.
wait_change() {
    local t
    for ((t = 0; t < $2 * 4; t++)); do
        try_shot "$1" || { sleep 0.25; continue; }
        changes "$1" "$7" "$3" "$4" "$5" "$6"
        ((changed > $8)) && return 0
        sleep 0.25
    done
    return 1
}
