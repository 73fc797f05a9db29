#!/usr/bin/env bash
# Runs our five CHIP-8 programs through chip8run and checks that each shows
# its picture inside the part of the display the block map shows (columns
# 12-55, rows 0-31), that xmirror draws symmetrically when keys are
# scripted, and that a program waiting for a key ends instead of hanging.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$(dirname "$0")/../../assets/chip8" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for p in trip8 ibmlogo maze zerodemo xmirror; do
  "$build/c8asm" "$src/$p.asm" -o "$work/$p.ch8"
done

# run NAME FRAMES [KEYS]: display of NAME after FRAMES frames into NAME.txt
run() {
  local keys=()
  [ $# -ge 3 ] && keys=(--keys "$3")
  "$build/chip8run" "$work/$1.ch8" --frames "$2" "${keys[@]}" --png "$work/$1.png" > "$work/$1.txt"
  if [ "$(wc -l < "$work/$1.txt")" -ne 32 ] || grep -qvE '^[#.]{64}$' "$work/$1.txt"; then
    fail "$1: output is not 32 lines of 64 '#' or '.'"
  fi
  [ -s "$work/$1.png" ] || fail "$1: no PNG written"
}

# lit NAME X0 X1 Y0 Y1: lit pixels in columns X0-X1, rows Y0-Y1
lit() {
  awk -v x0="$2" -v x1="$3" -v y0="$4" -v y1="$5" '
    NR - 1 >= y0 && NR - 1 <= y1 { for (x = x0; x <= x1; x++) n += substr($0, x + 1, 1) == "#" }
    END { print n + 0 }' "$work/$1.txt"
}

# expect NAME WHAT ACTUAL OP WANT
expect() {
  if ! [ "$3" "$4" "$5" ]; then fail "$1: $2 is $3, want $4 $5"; fi
}

# Nothing of any program lies outside the columns the map shows.
outside() {
  expect "$1" "lit pixels left of the window" "$(lit "$1" 0 11 0 31)" -eq 0
  expect "$1" "lit pixels right of the window" "$(lit "$1" 56 63 0 31)" -eq 0
}

# trip8: the countdown's 3 stands in both maps after 20 frames.
run trip8 20
outside trip8
expect trip8 "left map" "$(lit trip8 12 31 0 31)" -eq 28
expect trip8 "right map" "$(lit trip8 36 55 0 31)" -eq "$(lit trip8 12 31 0 31)"

# ibmlogo: after 60 frames all six stripes are drawn, each on a row pair,
# with the letters in both maps and dark rows between the stripes.
run ibmlogo 60
outside ibmlogo
for stripe in 0 1 2 3 4 5; do
  y=$((4 + 4 * stripe))
  expect ibmlogo "stripe $stripe left" "$(lit ibmlogo 12 31 $y $y)" -ge 8
  expect ibmlogo "stripe $stripe right" "$(lit ibmlogo 36 55 $y $y)" -ge 8
  expect ibmlogo "stripe $stripe pair" "$(lit ibmlogo 0 63 $((y + 1)) $((y + 1)))" -eq "$(lit ibmlogo 0 63 $y $y)"
  expect ibmlogo "gap below stripe $stripe" "$(lit ibmlogo 0 63 $((y + 2)) $((y + 3)))" -eq 0
done

# maze: after 120 frames all 40 tiles are laid, each one stroke of 8 pixels.
run maze 120
outside maze
for ty in 0 8 16 24; do
  for tx in 12 16 20 24 28 36 40 44 48 52; do
    expect maze "tile at $tx,$ty" "$(lit maze $tx $((tx + 3)) $ty $((ty + 7)))" -eq 8
  done
done

# zerodemo: four sprites in motion, inside the window.
run zerodemo 60
outside zerodemo
expect zerodemo "lit pixels" "$(lit zerodemo 12 55 0 31)" -ge 120

# xmirror: the scripted pen stroke appears mirrored about the window's middle.
run xmirror 120 "5:right+,40:right-,40:down+,70:down-,70:left+,90:left-"
outside xmirror
expect xmirror "lit pixels" "$(lit xmirror 12 55 0 31)" -ge 40
asymmetric=$(awk '{ for (x = 12; x <= 55; x++) if (substr($0, x + 1, 1) != substr($0, 67 - x + 1, 1)) n++ } END { print n + 0 }' "$work/xmirror.txt")
expect xmirror "pixels without a mirror" "$asymmetric" -eq 0
run xmirror 120
expect xmirror "lit pixels with no keys" "$(lit xmirror 12 55 0 31)" -le 4

# A program that waits for a key with none coming ends with a note.
printf 'ld i, dot\ndrw v0, v0, 1\nld v1, k\ncls\ndot: row #\n' > "$work/wait.asm"
"$build/c8asm" "$work/wait.asm" -o "$work/wait.ch8"
if ! timeout 20 "$build/chip8run" "$work/wait.ch8" > "$work/wait.txt" 2> "$work/wait.err"; then
  fail "wait: chip8run did not end cleanly"
fi
grep -q 'waits for a key' "$work/wait.err" || fail "wait: no note on standard error"
expect wait "lit pixels" "$(lit wait 0 63 0 31)" -eq 1
"$build/chip8run" "$work/wait.ch8" --keys "30:space+" > "$work/wait.txt" 2> "$work/wait.err"
expect wait "lit pixels after a key" "$(lit wait 0 63 0 31)" -eq 0

# Bad command lines are refused.
if "$build/chip8run" "$work/wait.ch8" --keys "5:jump+" > /dev/null 2>&1; then fail "bad key name accepted"; fi
if "$build/chip8run" "$work/missing.ch8" > /dev/null 2>&1; then fail "missing program accepted"; fi

echo "chip8run: $failures failure(s)"
[ "$failures" -eq 0 ]
