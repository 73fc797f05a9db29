#!/usr/bin/env bash
# Rewrites the capture tour's reference crops (tests/e2e/reference/*.png)
# from a new capture, or from an earlier one kept with KEEP_WORK=1:
#
#   tests/e2e/reference/update.sh BUILD_DIR [CAPTURE_DIR]
#
# Each reference is cropped from the first frame that names it in
# scripts/tour-checks.txt; the later frames naming it and every other check
# are then run against the new set, and references no check names any more
# are removed. Look at the pictures before committing them: a reference
# records what the program shows, right or wrong.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${2:-}" ] && export TOUR_CAPTURE=$(cd "$2" && pwd)
TOUR_UPDATE=1 exec bash "$here/../capture_tour.sh" "${1:?usage: update.sh BUILD_DIR [CAPTURE_DIR]}"
