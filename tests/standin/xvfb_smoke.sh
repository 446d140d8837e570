#!/usr/bin/env bash
# A real window in a private Xvfb server: the window appears with its title and size, a
# click and keys arrive with the right coordinates and codes, and with no display the
# program says so in one line. Usage: xvfb_smoke.sh <path to xvfb_smoke>
set -euo pipefail
program=$1
# Under AddressSanitizer, leaks inside system libraries are not ours to fix.
export LSAN_OPTIONS="print_suppressions=0:suppressions=$(dirname "$0")/lsan-system.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program output:"; cat "$work/out" "$work/stderr" 2>/dev/null || true; exit 1; }

# Without a display: one clear line and status 1, no crash.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY "$program" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "no display: status $status"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "no display: expected one line, got: $(cat "$work/err")"
grep -q "cannot open a window: no display" "$work/err" || fail "no display: $(cat "$work/err")"

# A private server on a free display number; Xvfb writes the number once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
# On a loaded machine the first connections can still be refused just after Xvfb says
# it is ready; the program gets a display that answers.
answers=
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && { answers=1; break; }; sleep 0.05; done
[ -n "$answers" ] || fail "display $DISPLAY does not answer"

"$program" >"$work/out" 2>"$work/stderr" &
app_pid=$!
# xdotool's search walks every window and dies with BadWindow when one vanishes under it
# (SDL makes short-lived helper windows while it starts): ask again until it answers.
find_window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --name "$1" 2>/dev/null) && [ -n "$id" ] && { echo "${id%%$'\n'*}"; return 0; }
    sleep 0.05
  done
  return 1
}
window=$(find_window '^Stand-in Smoke Test$') || fail "no window appeared"
geometry=$(xwininfo -id "$window")
grep -q "Width: 320" <<<"$geometry" || fail "width: $geometry"
grep -q "Height: 200" <<<"$geometry" || fail "height: $geometry"
# No window manager: the client area sits where Win32 puts it, 1 border + caption inside (40,30).
grep -q "Absolute upper-left X:  41" <<<"$geometry" || fail "x: $geometry"
grep -q "Absolute upper-left Y:  49" <<<"$geometry" || fail "y: $geometry"

xdotool windowfocus --sync "$window"
xdotool mousemove --sync --window "$window" 25 37 click 1
find_window '^Smoke Clicked$' >/dev/null || fail "the click did not retitle the window"
# Press inside, release outside to the left: the capture brings the release, x near 65535.
xdotool mousemove --sync --window "$window" 100 50 mousedown 1
xdotool mousemove --sync 36 109 mouseup 1 # screen position of client (-5, 60)
xdotool key Escape a shift+a q
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end on q"
wait "$app_pid" || fail "the program failed"
app_pid=

expected="ready
down 25 37
up 25 37
down 100 50
up 65531 60
key 27
char 27
key 65
char 97
key 16
key 65
char 65
key 81
char 113"
[ "$(cat "$work/out")" = "$expected" ] || fail "messages differ from: $expected"
echo "ok"
