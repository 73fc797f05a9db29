#!/usr/bin/env bash
# Installs the Debian packages FLOXA builds and tests with, when any is
# missing. Does nothing (and needs no network) when all are present.
# Package names as arguments are checked instead (scripts/web.sh's).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libglew-dev libgl-dev libgl1-mesa-dri libpng-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool openbox wmctrl x11-utils imagemagick
  sox ffmpeg clang libclang-rt-14-dev
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
