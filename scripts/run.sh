#!/usr/bin/env bash
# Builds the demo and runs it; extra arguments go to floxa (try --help).
# With no display at all, it records the boot and the show's first part to
# capture/floxa.mp4 on a private X server instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  args=("$@")
  [[ " $* " == *" --capture "* ]] || args=(--capture "$PWD/capture" "${args[@]}")
  echo "No display: recording the show to video instead (floxa ${args[*]})."
  cd build
  exec xvfb-run -a -s "-screen 0 1280x720x24 -nolisten tcp" ./floxa "${args[@]}"
fi
cd build
exec ./floxa "$@"
