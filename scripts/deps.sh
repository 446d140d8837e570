#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need that is not there yet.
# Debian 12; run as root (or with sudo available). Quiet when nothing is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config ccache python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-liberation
  libjpeg62-turbo-dev libpng-dev
  xvfb xdotool x11-common
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
