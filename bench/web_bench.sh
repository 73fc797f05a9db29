#!/usr/bin/env bash
# The page against the desktop program on this machine: frames a second of
# the copier after the boot (frames FIRST to LAST at 1280x720) in headless
# Chromium (SwiftShader) and under Xvfb (Mesa's llvmpipe), and the page's
# download size. The desktop's rate comes from two runs that Escape stops
# at FIRST and at LAST (the boot reads no keys, hence frames after it). Run after scripts/web.sh build and scripts/build.sh.
# usage: bench/web_bench.sh [DESKTOP_BUILD] [FIRST] [LAST]   (build 900 1100)
set -euo pipefail
cd "$(dirname "$0")/.."
desk=${1:-build}; first=${2:-900}; last=${3:-1100}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The desktop: seconds to reach a frame, with Escape pressed there.
reach() {
  printf 'f%d keydown escape\n' "$1" > "$work/quit$1.txt"
  local t0 t1
  t0=$(date +%s.%N)
  tests/with_display.sh env SDL_AUDIODRIVER=dummy "$desk/floxa" --windowed --script "$work/quit$1.txt" > /dev/null 2>&1
  t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc -l
}
a=$(reach "$first"); b=$(reach "$last")
desktop=$(echo "($last - $first) / ($b - $a)" | bc -l)
page=$(NODE_PATH=build-web/node/node_modules node bench/web_fps.js build-web "$first" "$last")
printf 'frames a second, copier frames %d-%d at 1280x720:\n' "$first" "$last"
printf '  desktop under Xvfb (llvmpipe)       %6.2f\n' "$desktop"
printf '  page in headless Chromium (SwiftShader) %6.2f  (%.2f of the desktop)\n' "$page" "$(echo "$page / $desktop" | bc -l)"
files=(index.html page.js page.css floxa.js floxa.wasm floxa.dat)
total=0; gz=0
for f in "${files[@]}"; do
  total=$((total + $(stat -c %s "build-web/$f")))
  gz=$((gz + $(gzip -9c "build-web/$f" | wc -c)))
done
printf 'download: %.2f MB (%.2f MB gzipped), goal at most 8 MB\n' "$(echo "$total / 1000000" | bc -l)" "$(echo "$gz / 1000000" | bc -l)"
