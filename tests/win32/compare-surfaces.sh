#!/usr/bin/env bash
# Runs the script of library operations on the stand-in (Linux build) and on real GDI
# (Windows build, under Wine) and compares the surfaces they leave.
#   compare-surfaces.sh LINUX_PROGRAM WINDOWS_PROGRAM WORK_DIR
# Needs a Wine session (wine-session.sh). WORK_DIR keeps both dumps and any diff images.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 LINUX_PROGRAM WINDOWS_PROGRAM WORK_DIR" >&2; exit 2; }
host=$1
native=$2
work=$(realpath -m "$3")
rm -rf "$work"
mkdir -p "$work/standin" "$work/native"

"$host" --make-picture "$work/picture.jpg"
"$host" "$work/picture.jpg" "$work/standin"
# Wine shows the Unix file system as drive Z:.
wine "$native" "Z:$work/picture.jpg" "Z:$work/native"
exec python3 "$(dirname "$0")/compare_surfaces.py" "$work/standin" "$work/native" "$work/diff"
