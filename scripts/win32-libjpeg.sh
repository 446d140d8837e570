#!/usr/bin/env bash
# Builds libjpeg for Windows from Debian's libjpeg-turbo source package, cross-compiled with
# mingw-w64, into a prefix holding only the static library and its four headers:
#   scripts/win32-libjpeg.sh PREFIX TOOLCHAIN_FILE
# The Windows build's CMake calls this when PREFIX has no library yet. The source comes
# through apt-get with a private source list and package lists (PREFIX/../apt), so the
# system's apt configuration is left alone; the download is kept for the next build.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 PREFIX TOOLCHAIN_FILE" >&2
  exit 2
fi
prefix=$(realpath -m "$1")
toolchain=$(realpath "$2")
work=$(dirname "$prefix")/libjpeg-work
mkdir -p "$work"
exec 9>"$work/lock"
flock 9
if [ -f "$prefix/lib/libjpeg.a" ]; then
  exit 0
fi

# The same upstream release as the Linux build's libjpeg, so both decode alike; any
# version the archive holds otherwise.
version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev 2>/dev/null || true)
. /etc/os-release
suite=${VERSION_CODENAME:-bookworm}
mirror=${QG_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${QG_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}

apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
cat >"$apt_dir/sources.list" <<EOF
deb-src $mirror $suite main
deb-src $mirror $suite-updates main
deb-src $security $suite-security main
EOF
apt=(apt-get -q -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
     -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
     -o APT::Sandbox::User="$(id -un)")

src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
if [ -z "$src" ]; then
  echo "win32-libjpeg: fetching Debian's libjpeg-turbo source${version:+ $version}" >&2
  "${apt[@]}" update >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
  fetch() { (cd "$work" && "${apt[@]}" source "$1" >>"$work/apt.log" 2>&1); }
  if ! { [ -n "$version" ] && fetch "libjpeg-turbo=$version"; }; then
    fetch libjpeg-turbo || { cat "$work/apt.log" >&2; exit 1; }
  fi
  src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  [ -n "$src" ] || { echo "win32-libjpeg: apt-get source left no source tree" >&2; exit 1; }
fi

# No SIMD: it needs NASM, and for the default (integer) DCT the plain C code gives the
# same pixels. Only the static library is built: the tools are not needed.
echo "win32-libjpeg: building $(basename "$src") for $(basename "$toolchain" .cmake)" >&2
build=$work/build-$(basename "$toolchain" .cmake)
cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log" >&2; exit 1; }
cmake --build "$build" -j "${QG_JOBS:-2}" --target jpeg-static >"$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log" >&2; exit 1; }

rm -rf "$prefix.tmp"
mkdir -p "$prefix.tmp/lib" "$prefix.tmp/include"
cp "$build/libjpeg.a" "$prefix.tmp/lib/"
cp "$build/jconfig.h" "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$prefix.tmp/include/"
rm -rf "$prefix"
mv "$prefix.tmp" "$prefix"
echo "win32-libjpeg: installed into $prefix" >&2
