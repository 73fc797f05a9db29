#!/usr/bin/env bash
# Builds the demo and runs it; extra arguments go to floxa (try --help).
# With no display at all, it records the show to video on a private X
# server instead: with no arguments the showreel (scripts/showreel.txt: the
# boot, the ten demo parts, a visit of the copier, about two minutes) into
# capture/floxa.mp4; with arguments, floxa --capture capture/ ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  args=("$@")
  # The showreel ends on its QUIT click; the length is only a bound.
  [ $# -eq 0 ] && args=(--script "$PWD/scripts/showreel.txt" --seconds 127.2)
  [[ " ${args[*]} " == *" --capture "* ]] || args=(--capture "$PWD/capture" "${args[@]}")
  echo "No display: recording the show to video instead (floxa ${args[*]})."
  cd build
  # A screen as big as the largest capture size.
  exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" ./floxa "${args[@]}"
fi
cd build
exec ./floxa "$@"
