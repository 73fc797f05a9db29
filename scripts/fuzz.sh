#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build-fuzz/ and runs
# each for a while (default 60 s), starting from its seed inputs. A crash,
# leak or failed check stops the run; its input is kept as
# build-fuzz/findings/TARGET-crash-*, ready to become a seed.
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
cmake --build build-fuzz --target "${targets[@]}" -j "$(nproc)"
mkdir -p build-fuzz/findings
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  cp tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  echo "== $t: ${seconds} s"
  status=0
  ./build-fuzz/tests/fuzz/"$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$t-" "$work" > "build-fuzz/findings/$t.log" 2>&1 || status=$?
  rm -rf "$work"
  grep -E '^stat::number_of_executed_units' "build-fuzz/findings/$t.log" | sed "s/^/$t /" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "build-fuzz/findings/$t.log"
    echo "fuzz: $t failed (log: build-fuzz/findings/$t.log)"
    exit 1
  fi
done
