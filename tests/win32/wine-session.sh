#!/usr/bin/env bash
# Runs a command with one Wine session around it: a private Xvfb display, a Wine prefix
# (made once, quietly, by tools/wine-run.sh) and a wineserver kept up for the whole
# command, so the Windows programs it starts under Wine cost a fraction of a second each.
#   tests/win32/wine-session.sh PREFIX COMMAND [ARGS...]
# Exports DISPLAY, WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES for the command, and
# exits with its status. Wine and Xvfb are shut down afterwards. WINEARCH (win32 or win64)
# comes from the environment, else tools/wine-env.sh picks what this machine can run.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 PREFIX COMMAND [ARGS...]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export WINEPREFIX=$(realpath -m "$1")
shift
source "$root/tools/wine-env.sh"
qg_wine_setup wine-session
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"

xvfb_pid=
server_up=
cleanup() {
  [ -n "$server_up" ] && { wineserver -k >/dev/null 2>&1 || true; }
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 143' INT TERM

# Xvfb picks a free display and writes its number to fd 3 once it is ready.
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
  [ -s "$dfile" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "wine-session: Xvfb did not start" >&2; exit 2; }
  sleep 0.05
done
display=$(head -n1 "$dfile")
rm -f "$dfile"
[ -n "$display" ] || { echo "wine-session: Xvfb did not report its display" >&2; exit 2; }
export DISPLAY=:$display

# Makes the prefix if it is not there yet (fonts included), then ends its Wine.
"$root/tools/wine-run.sh" cmd /c exit 0 >/dev/null
wineserver -p
server_up=1
# Wine's own background programs (services, the desktop) start with the first program and
# keep its output open for as long as they live: let them start here, writing nowhere, so
# that a test's output ends when its program does. That first program makes the windows
# unmanaged: no window manager runs on this display, and Wine would otherwise wait two
# seconds for one whenever a window goes away.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  </dev/null >/dev/null 2>&1

status=0
"$@" || status=$?
exit $status
