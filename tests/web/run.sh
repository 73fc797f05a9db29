#!/usr/bin/env bash
# The browser page's end-to-end test: builds the page (scripts/web.sh
# build), captures the desktop program's frames at the numbers the page is
# held at (the same click, as a script), then drives the page in headless
# Chromium (page_test.js). Pictures land in build-web/test/.
# usage: tests/web/run.sh [DESKTOP_BUILD]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
desk=${1:-build}
out=build-web/test
FLOXA_HOST_BUILD=$desk bash scripts/web.sh build
rm -rf "$out" && mkdir -p "$out"

# The click on MODE (28,49) that the page makes with the real pointer,
# played on the desktop by a script in the same frame.
cat > "$out/click.txt" <<'SCRIPT'
f901 move 28 49
f901 press
f902 release
SCRIPT
tests/with_display.sh env SDL_AUDIODRIVER=dummy "$desk/floxa" --capture "$out/desktop" --seconds 13.6 \
  --png-every 5 --script "$out/click.txt" > "$out/desktop.log" 2>&1

NODE_PATH=build-web/node/node_modules node tests/web/page_test.js build-web "$out/desktop" "$out" "$desk/tests/unwarp"
