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
  # SDL's X11 message boxes (and so the print dialog) draw their text with core X fonts.
  xfonts-base
  libcups2-dev libcairo2-dev cups-daemon cups-client cups-core-drivers poppler-utils locales x11-utils
  # The Windows build and its tests under Wine; dpkg-dev unpacks libjpeg's source package.
  mingw-w64 wine wine32:i386 wine64 dpkg-dev x11-apps
  # The fuzz targets: clang with libFuzzer and the sanitizer runtimes; llvm's symbolizer.
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  # "triggers-pending" and the like are installed too, just with work left for dpkg.
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -qE '^install ok (installed|triggers-)' ||
    missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Another apt run (an unattended upgrade, a parallel build) may hold the lock for a while.
apt=(apt-get -o DPkg::Lock::Timeout=900)
# wine32 is an i386 package: that architecture must be known to dpkg before the update.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" "${apt[@]}" update -qq
"${sudo[@]}" "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
