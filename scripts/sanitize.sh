#!/usr/bin/env bash
# The sanitizer suites. build-san/: the unit and GL tests under
# AddressSanitizer with UndefinedBehaviorSanitizer. build-tsan/: the
# mixer-thread test under ThreadSanitizer (clang). Only the test programs
# are built, not the benchmarks. Any sanitizer report fails its test, and a
# failed test fails the run; the options are set in tests/CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

# The test programs that tests/unit and tests/gl declare, one per line.
declared() { sed -n "s/^$1(\([a-z0-9_]*\).*/\1/p" "tests/$2/tests.cmake"; }
mapfile -t suites < <(declared unit_test unit; declared gl_test gl)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: unit and gl tests (build-san/)"
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLOXA_SANITIZE=address > /dev/null
cmake --build build-san --target "${suites[@]}" -j "$jobs"
(cd build-san && ctest --output-on-failure -j "$jobs" -L '^(unit|gl)$')

echo "== ThreadSanitizer: the mixer thread against the application (build-tsan/)"
CC=clang CXX=clang++ cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLOXA_SANITIZE=thread > /dev/null
cmake --build build-tsan --target test_soundthreads -j "$jobs"
(cd build-tsan && ctest --output-on-failure -R '^unit\.test_soundthreads$')
