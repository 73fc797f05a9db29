#!/usr/bin/env bash
# corepack round trip: create, list, cat and check give every file back byte
# for byte (cat and check read through the engine's file system), for an
# archive of its own and one appended to a host program; bad input fails.
# Usage: corepack_roundtrip.sh BUILD_DIR
set -euo pipefail
corepack="$1/corepack"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

tree="$work/tree"
mkdir -p "$tree/gfx/sub" "$tree/music" "$tree/emptydir"
head -c 70000 /dev/urandom > "$tree/gfx/sub/noise.bin"
printf 'line one\nline two\n' > "$tree/readme.txt"
: > "$tree/empty"
printf 'with space' > "$tree/music/a b.txt"
# A 2x1 32-bit TGA and a mono 8-bit WAV of 4 samples: check decodes both.
printf '\0\0\2\0\0\0\0\0\0\0\0\0\2\0\1\0\040\0\1\2\3\4\5\6\7\10' > "$tree/gfx/tiny.tga"
printf 'RIFF\50\0\0\0WAVEfmt \20\0\0\0\1\0\1\0\104\254\0\0\104\254\0\0\1\0\10\0data\4\0\0\0\1\2\3\4' \
    > "$tree/music/tick.wav"

"$corepack" create "$work/a.dat" "$tree" 2>/dev/null
"$corepack" create "$work/b.dat" "$tree" 2>/dev/null
cmp -s "$work/a.dat" "$work/b.dat" || fail "two creates differ"

expected=$(cd "$tree" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
listed=$("$corepack" list "$work/a.dat" 2>/dev/null | cut -f3)
[ "$listed" = "$expected" ] || fail "list names: $listed"

roundtrip() {  # ARCHIVE: every entry's size and bytes match the tree
    local archive=$1 offset size name
    while IFS=$'\t' read -r offset size name; do
        [ "$size" -eq "$(stat -c %s "$tree/$name")" ] || fail "$archive: size of $name"
        "$corepack" cat "$archive" "$name" 2>/dev/null | cmp -s - "$tree/$name" || fail "$archive: bytes of $name"
        # Lookups lower-case the requested name.
        "$corepack" cat "$archive" "${name^^}" 2>/dev/null | cmp -s - "$tree/$name" || fail "$archive: ${name^^}"
    done < <("$corepack" list "$archive" 2>/dev/null)
    "$corepack" check "$archive" > "$work/check.txt" 2>/dev/null || fail "$archive: check failed: $(cat "$work/check.txt")"
    [ "$(grep -c '^ok' "$work/check.txt")" -eq "$(echo "$expected" | wc -l)" ] || fail "$archive: check lines"
}
roundtrip "$work/a.dat"

# Appended to a real program, which still runs.
cp "$(type -P true)" "$work/host"
"$corepack" append "$work/host" "$work/a.dat" 2>/dev/null
"$work/host" || fail "host program no longer runs"
roundtrip "$work/host"
first=$("$corepack" list "$work/host" 2>/dev/null | head -1 | cut -f1)
[ "$first" -gt "$(stat -c %s "$(type -P true)")" ] || fail "appended offsets must count from the host's start"

# Refusals.
mkdir -p "$work/upper/Gfx"
: > "$work/upper/Gfx/Logo.tga"
if "$corepack" create "$work/u.dat" "$work/upper" 2> "$work/err.txt"; then fail "upper-case name accepted"; fi
grep -q 'Gfx/Logo.tga' "$work/err.txt" || fail "refusal does not name the file: $(cat "$work/err.txt")"
[ ! -e "$work/u.dat" ] || fail "refused create left an archive"

"$corepack" cat "$work/a.dat" missing.txt > /dev/null 2>&1 && fail "cat of a missing entry succeeded"
head -c 100 "$work/a.dat" > "$work/cut.dat"
"$corepack" list "$work/cut.dat" > /dev/null 2>&1 && fail "truncated archive listed"
"$corepack" check "$work/cut.dat" > /dev/null 2>&1 && fail "truncated archive checked"

mkdir -p "$work/badtree"
printf 'not a picture' > "$work/badtree/broken.tga"
printf 'RIFFjunk' > "$work/badtree/broken.wav"
"$corepack" create "$work/bad.dat" "$work/badtree" 2>/dev/null
if "$corepack" check "$work/bad.dat" > "$work/check.txt" 2>/dev/null; then fail "broken assets passed check"; fi
[ "$(grep -c '^FAIL' "$work/check.txt")" -eq 2 ] || fail "check lines: $(cat "$work/check.txt")"

"$corepack" bogus > /dev/null 2>&1 && fail "unknown command accepted"
echo "corepack round trip ok"
