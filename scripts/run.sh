#!/usr/bin/env bash
# Builds the demo and runs it; extra arguments go to floxa (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
exec ./floxa "$@"
