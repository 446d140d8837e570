#!/usr/bin/env bash
# Runs a Windows program under Wine, headless: tools/wine-run.sh program.exe [args...]
# Creates the Wine prefix on first use (quietly, no dialogs), starts Xvfb when DISPLAY is
# unset, and shuts Wine and that Xvfb down afterwards. Exits with the program's status.
#   WINEARCH     win32 or win64 (default: win32 where this machine runs 32-bit programs)
#   WINEPREFIX   prefix to use (default: $QG_WINE_HOME/prefix-$WINEARCH,
#                QG_WINE_HOME=/tmp/qg-wine-$UID)
# Runs on one prefix take turns (a lock held for the whole run): Wine programs of one
# prefix share one wineserver and one desktop, and shutting down after a run would
# otherwise end another run's program.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 program.exe [args...]" >&2
  exit 2
fi
for tool in wine wineboot wineserver; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 2; }
done

source "$(dirname "$0")/wine-env.sh"
qg_wine_setup "$0"
home=${QG_WINE_HOME:-/tmp/qg-wine-$(id -u)}
mkdir -p "$home"
export WINEPREFIX=${WINEPREFIX:-$home/prefix-$WINEARCH}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs: the programs run here need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

xvfb_pid=
locked=
cleanup() {
  if [ -n "$locked" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "$0: Xvfb is not installed" >&2; exit 2; }
  # Xvfb picks a free display itself and writes its number to fd 3 once it is ready.
  dfile="$home/display.$$"
  : >"$dfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$dfile" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "$0: Xvfb did not start" >&2; exit 2; }
    sleep 0.05
  done
  display=$(head -n1 "$dfile")
  rm -f "$dfile"
  [ -n "$display" ] || { echo "$0: Xvfb did not report its display" >&2; exit 2; }
  export DISPLAY=:$display
fi

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"${WINEPREFIX%/}.lock"
flock 9
locked=1

# Bump the setup version when the steps below change, so existing prefixes get them too.
setup_version=2
if [ "$(cat "$WINEPREFIX/.qg-setup" 2>/dev/null)" != "$setup_version" ]; then
  echo "wine-run: setting up the Wine prefix in $WINEPREFIX (takes a while, once)" >&2
  wineboot -i >/dev/null 2>&1
  wineserver -w
  "$(dirname "$0")/wine-fonts.sh" >/dev/null
  # A crashing program ends with its status instead of waiting in Wine's debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  wineserver -w
  echo "$setup_version" >"$WINEPREFIX/.qg-setup"
fi

status=0
wine "$@" || status=$?
exit $status
