#!/usr/bin/env bash
# Builds the show as a web page into build-web/ (index.html, page.js,
# page.css, floxa.js, floxa.wasm and floxa.dat) and serves that folder on
# http://127.0.0.1:8080/ until Ctrl-C.
#   scripts/web.sh          build, then serve
#   scripts/web.sh build    build only
# The archive comes from a desktop build (build/ when it is configured,
# else build-web/host, which builds only the archive and its tools); set
# FLOXA_HOST_BUILD=DIR to use another. Needs Debian's emscripten; installs
# it (and, for the browser tests, chromium and npm's ws) when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-web
mode=${1:-serve}
case "$mode" in
  build | serve) ;;
  *) echo "usage: scripts/web.sh [build]" >&2; exit 2 ;;
esac

# npm is asked for only when there is none: a Node.js from elsewhere brings its own.
need=(emscripten chromium python3)
command -v npm > /dev/null || need+=(npm)
bash scripts/deps.sh "${need[@]}"
# The browser tests' DevTools client; kept in build-web between runs.
if [ ! -d "$out/node/node_modules/ws" ]; then
  mkdir -p "$out/node"
  npm install --silent --no-audit --no-fund --prefix "$out/node" ws@8 > /dev/null
fi

# The archive, from the desktop build's own rules.
host=${FLOXA_HOST_BUILD:-}
if [ -z "$host" ]; then
  if [ -f build/CMakeCache.txt ]; then host=build; else host=$out/host; fi
fi
if [ ! -f "$host/CMakeCache.txt" ]; then
  bash scripts/deps.sh
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
fi
cmake --build "$host" --target floxa_dat -j "$(nproc)"

# The page's module. Debian's emcc finds its JavaScript parser here.
export NODE_PATH=/usr/share/nodejs
if [ ! -f "$out/cmake/CMakeCache.txt" ]; then
  emcmake cmake -S . -B "$out/cmake" -DCMAKE_BUILD_TYPE=Release > /dev/null
fi
cmake --build "$out/cmake" --target floxa -j "$(nproc)"

cp web/index.html web/page.js web/page.css "$out/cmake/app/floxa.js" "$out/cmake/app/floxa.wasm" "$out/"
cp "$host/floxa.dat" "$out/floxa.dat"
echo "The page is in $out ($(du -ch "$out"/{index.html,page.js,page.css,floxa.js,floxa.wasm,floxa.dat} | tail -1 | cut -f1) to download)"

[ "$mode" = build ] && exit 0
echo "Serving the page on http://127.0.0.1:8080/ (Ctrl-C stops)"
exec python3 -m http.server 8080 --bind 127.0.0.1 --directory "$out"
