#!/usr/bin/env bash
# Makes the Liberation fonts visible to Wine under their own names and as the metric-
# compatible stand-ins for Arial, Times New Roman and Courier New, in $WINEPREFIX.
# Called by wine-run.sh when it creates a prefix; safe to run again.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"

fonts=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$fonts"
for f in /usr/share/fonts/truetype/liberation/Liberation*.ttf; do
  [ -e "$f" ] && ln -sf "$f" "$fonts/"
done

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Helvetica"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Times"="Liberation Serif"
"Courier New"="Liberation Mono"
"Courier"="Liberation Mono"
REG
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" 2>/dev/null
