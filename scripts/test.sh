#!/usr/bin/env bash
# Builds everything and runs every test suite (unit, gl, e2e) through CTest.
# A full run (no arguments) then fuzzes every target for a few seconds
# (scripts/fuzz.sh), runs the sanitizer suites (scripts/sanitize.sh), a
# two-minute soak (scripts/soak.sh) and the browser page's test in headless
# Chromium (tests/web/run.sh); arguments go to CTest and run only what they
# select.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)" "$@")
if [ $# -eq 0 ]; then
  bash scripts/fuzz.sh 5
  bash scripts/sanitize.sh
  bash scripts/soak.sh 2
  bash tests/web/run.sh build
fi
