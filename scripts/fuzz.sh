#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build-fuzz/ and runs
# each for a while (default 60 s), starting from its seed inputs.
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
seconds=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DFLOXA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^fuzz_target(\([a-z0-9_]*\).*/\1/p' tests/fuzz/targets.cmake)
fi
for t in "${targets[@]}"; do
  cmake --build build-fuzz --target "$t" -j "$(nproc)"
  work=$(mktemp -d)
  cp tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  ./build-fuzz/tests/fuzz/"$t" -max_total_time="$seconds" "$work"
  rm -rf "$work"
done
