#!/usr/bin/env bash
# A soak: floxa built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-san/) captures MINUTES virtual minutes (default 30) of the show
# driven by random input (tests/soak/randomscript.awk, seeded by SEED):
# clicks on every control, menu rows, clicks off the screen, held keys.
# It fails on any sanitizer report and on memory that still grows after
# the first minute: the engine's held bytes may not rise at all, the
# resident size by at most 16 MB. The curve is printed and kept in
# build-san/soak/memory.txt.
# Usage: scripts/soak.sh [MINUTES] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
seed=${2:-1}
[[ "$minutes" =~ ^[0-9]+$ ]] && [ "$minutes" -ge 2 ] || { echo "soak: MINUTES is a whole number from 2"; exit 2; }
bash scripts/deps.sh
bash scripts/build.sh  # the archive and the tools come from the normal build
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLOXA_SANITIZE=address > /dev/null
cmake --build build-san --target floxa -j "$(nproc)"

out=build-san/soak
rm -rf "$out"
mkdir -p "$out"
awk -v minutes="$minutes" -v seed="$seed" -f tests/soak/randomscript.awk > "$out/script.txt"
echo "soak: $minutes virtual minutes, seed $seed, $(grep -c press "$out/script.txt") clicks"

# The quarantine of freed blocks is kept small, so the resident size shows
# our memory, not the sanitizer's bookkeeping filling up. No leak check at
# exit: the GL driver is unloaded by then and its few blocks cannot be
# named, let alone suppressed; the unit and GL suites check leaks, and
# growth over the run is what the curve below checks.
status=0
(cd build && env ASAN_OPTIONS=halt_on_error=1:detect_leaks=0:quarantine_size_mb=32 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ../tests/with_display.sh env PATH=/nonexistent ../build-san/floxa --capture "../$out" \
    --seconds $((minutes * 60)) --script "../$out/script.txt") > "$out/log" 2>&1 || status=$?

grep -E "^capture: minute" "$out/log" | sed 's/^capture: //' | tee "$out/memory.txt"
if grep -qE "ERROR: AddressSanitizer|runtime error:" "$out/log"; then
    grep -m1 -A20 -E "ERROR: AddressSanitizer|runtime error:" "$out/log"
    echo "soak: FAIL: a sanitizer report (the whole log is $out/log)"
    exit 1
fi
[ "$status" -eq 0 ] || { tail -20 "$out/log"; echo "soak: FAIL: floxa ended with status $status"; exit 1; }
grep -q "^Capture done: $((minutes * 4000)) frames" "$out/log" || { tail -5 "$out/log"; echo "soak: FAIL: the capture stopped early"; exit 1; }

# "minute N: B bytes held by the engine, R kB resident"
awk '{ n = $2 + 0; bytes[n] = $3; kb[n] = $(NF - 2) }
     END {
         if (!(1 in bytes)) { print "soak: FAIL: no memory line for minute 1"; exit 1 }
         for (n = 2; n in bytes; n++) {
             if (bytes[n] > bytes[1]) { printf "soak: FAIL: the engine holds %d bytes at minute %d, %d at minute 1\n", bytes[n], n, bytes[1]; exit 1 }
             if (kb[n] > kb[1] + 16384) { printf "soak: FAIL: %d kB resident at minute %d, %d kB at minute 1\n", kb[n], n, kb[1]; exit 1 }
         }
         printf "soak: ok: no sanitizer report; after minute 1 the engine holds at most %d bytes and the resident size stays within 16 MB of %d kB\n", bytes[1], kb[1]
     }' "$out/memory.txt"
