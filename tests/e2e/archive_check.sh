#!/usr/bin/env bash
# The built floxa.dat as the demo reads it: corepack check mounts it through
# the engine's file system and decodes every picture and sound with the
# engine's own loaders. All 25 entries (15 pictures, 5 sounds, 5 CHIP-8
# programs) must be there and good.
set -euo pipefail
build=$1
out=$("$build/corepack" check "$build/floxa.dat")
echo "$out"
good=$(grep -c '^ok' <<< "$out" || true)
[ "$good" -eq 25 ] || { echo "expected 25 good entries, found $good"; exit 1; }
