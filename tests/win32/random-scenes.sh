#!/usr/bin/env bash
# Runs the same seeded random scenes on the stand-in (Linux build) and on real GDI
# (Windows build, under Wine) and compares them scene by scene. Each mismatch is printed
# with its seed, the first step that differs and the scene's calls; one seed reproduces
# alone with `random_scenes SEED 1` on either side.
#   random-scenes.sh LINUX_PROGRAM WINDOWS_PROGRAM
#   QG_RANDOM_SCENES  how many scenes (default 4000)   QG_RANDOM_FIRST  first seed (default 1)
# Needs a Wine session (wine-session.sh); without Wine it says so and is skipped.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 LINUX_PROGRAM WINDOWS_PROGRAM" >&2; exit 2; }
host=$1
native=$2
count=${QG_RANDOM_SCENES:-4000}
first=${QG_RANDOM_FIRST:-1}
if [ ! -x "$host" ]; then
  echo "the stand-in's program $host is not built (cmake --build <Linux build> --target random_scenes)"
  exit 1
fi
if ! command -v wine >/dev/null || [ -z "${WINEPREFIX:-}" ]; then
  echo "skipped: needs Wine and a Wine session (tests/win32/wine-session.sh)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$(date +%s%N)
"$host" "$first" "$count" >"$work/standin"
wine "$native" "$first" "$count" | tr -d '\r' >"$work/native"
took=$(( ($(date +%s%N) - start) / 1000000 ))

scenes=$(wc -l <"$work/native")
if [ "$scenes" -ne "$count" ]; then
  echo "the Windows program gave $scenes of $count scenes"
  exit 1
fi
# Lines that differ: seed, then the hashes after each step.
mismatches=$(paste -d '|' "$work/standin" "$work/native" | awk -F'|' '$1 != $2')
if [ -z "$mismatches" ]; then
  echo "$count random scenes (seeds $first..$((first + count - 1))) match real GDI (${took} ms for both)"
  exit 0
fi
total=$(printf '%s\n' "$mismatches" | wc -l)
echo "$total of $count random scenes differ from real GDI:"
printf '%s\n' "$mismatches" | head -n 25 | while IFS='|' read -r ours theirs; do
  read -r -a a <<<"$ours"
  read -r -a b <<<"$theirs"
  step=1
  while [ "$step" -lt "${#a[@]}" ] && [ "${a[$step]}" = "${b[$step]:-}" ]; do step=$((step + 1)); done
  echo "seed ${a[0]}: differs from step $step on (reproduce: random_scenes ${a[0]} 1; random_scenes --dump ${a[0]} FILE $step)"
  "$host" --describe "${a[0]}" | sed 's/^/    /'
done
[ "$total" -le 25 ] || echo "... and $((total - 25)) more"
exit 1
