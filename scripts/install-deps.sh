#!/usr/bin/env bash
# Installs every Debian package Quillmere needs to build, test, fuzz and run
# headless. Runs apt-get only when something is missing; a no-op otherwise.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev
  libimgui-dev
  libmagickcore-6.q16-dev
  zlib1g-dev
  libassimp-dev nlohmann-json3-dev
  libavcodec-dev libavformat-dev libswscale-dev libavutil-dev ffmpeg
  libegl-dev libegl1-mesa-dev libgl1-mesa-dri
  parallel
  xvfb xauth
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
