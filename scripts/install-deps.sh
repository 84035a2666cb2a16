#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need;
# only what is missing, through sudo when not root.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-multimedia-dev
          libgtest-dev libbenchmark-dev python3
          fonts-dejavu-core fonts-liberation2 fonts-comic-neue fonts-comfortaa
          libxcb1-dev xvfb xauth xdotool imagemagick x11-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Устанавливаю пакеты: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
