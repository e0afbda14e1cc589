#!/usr/bin/env bash
# Installs the Debian packages that building, testing and playing need, and only
# those that are missing. Safe to run again and again. Given package names, it installs
# those instead (the Windows recipe passes its own list).
set -euo pipefail

packages=("$@")
[[ $# -gt 0 ]] || packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libsdl2-mixer-dev libpng-dev libjpeg62-turbo-dev liblzo2-dev libgcrypt20-dev
  libfreetype-dev fonts-dejavu-core
  libxkbcommon-x11-dev libxcb1-dev libxcb-xkb-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 mesa-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils x11-xkb-utils xdotool xdg-utils
  imagemagick netpbm python3 python3-pil curl
  sox ffmpeg libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  xfonts-base khronos-api apitrace libsfml-dev
  # The browser's libraries' recipe needs autotools-dev and xz-utils as well; installed here,
  # so that it never runs apt beside the Windows recipe: apt takes one install at a time.
  emscripten chromium autotools-dev xz-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
