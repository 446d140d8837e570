#!/usr/bin/env bash
# Puts the game's pictures beside a Windows build of the game. They are drawn by the
# picture generator of the Linux build (target zarn-pictures, into HOST/zarn/) and copied:
#   scripts/win32-pictures.sh HOST_BUILD_FOLDER GAME_FOLDER
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 HOST_BUILD_FOLDER GAME_FOLDER" >&2; exit 2; }
host=$1
dest=$2

targets=$(cmake --build "$host" --target help 2>/dev/null || true)
if ! grep -q 'zarn-pictures' <<<"$targets"; then
  echo "win32-pictures: $host has no picture generator (target zarn-pictures); no pictures copied" >&2
  exit 0
fi
cmake --build "$host" -j "${QG_JOBS:-2}" --target zarn-pictures >/dev/null
mkdir -p "$dest"
shopt -s nullglob
pictures=("$host"/zarn/*.jpg)
[ ${#pictures[@]} -gt 0 ] || { echo "win32-pictures: the generator left no pictures in $host/zarn" >&2; exit 1; }
cp -p "${pictures[@]}" "$dest/"
