#!/usr/bin/env bash
# The real modal boxes in a private Xvfb server, answered with the keyboard as a person
# would: Enter takes the message box's OK and the print dialog's default printer (the
# page reaches the private CUPS queue); Escape dismisses both, and nothing is printed.
# Usage: xvfb_dialogs.sh <path to xvfb_dialogs>
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
export LSAN_OPTIONS="print_suppressions=0:suppressions=$here/../standin/lsan-system.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
work=$(mktemp -d)
chmod 755 "$work" # the scheduler's filters run as lp and must reach the spool inside
xvfb_pid=
bare_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$bare_pid" ] && kill "$bare_pid" 2>/dev/null || true
  bash "$here/../support/cups.sh" stop "$work/cups" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program output:"; cat "$work/out" "$work/err" 2>/dev/null || true; exit 1; }

set +e
cups_env=$(bash "$here/../support/cups.sh" start "$work/cups" 2>&1)
status=$?
set -e
# 77: cupsd cannot run on this machine at all; CTest reports the test as skipped.
[ "$status" -eq 77 ] && { echo "skipped: $cups_env"; exit 77; }
[ "$status" -eq 0 ] || fail "loopback CUPS: $cups_env"
export "${cups_env?}"

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

# The boxes name their windows in UTF-8 only, which xdotool's search does not read.
find_window() {
  local id
  for _ in $(seq 200); do
    id=$(xwininfo -root -tree | grep -F " \"$1\": " | awk '{ print $1; exit }')
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}
answer() { # answer <window name> <key>
  local id
  id=$(find_window "$1") || fail "no \"$1\" window appeared"
  xdotool windowfocus --sync "$id"
  xdotool key --window "$id" "$2"
}
finish() {
  for _ in $(seq 200); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  wait "$app_pid" || fail "the program failed"
  app_pid=
}

"$program" >"$work/out" 2>"$work/err" &
app_pid=$!
answer "Graphics Library" Return
answer "Print" Return
finish
[ "$(cat "$work/out")" = "box 1
dialog 1
printed 1 width 1164" ] || fail "Enter: unexpected answers"
# The scheduler finishes the job on its own time.
for _ in $(seq 200); do [ -s "$work/cups/out/file-a4.pdf" ] && break; sleep 0.05; done
[ -s "$work/cups/out/file-a4.pdf" ] || fail "nothing reached the default printer"
rm "$work/cups/out/file-a4.pdf"

"$program" >"$work/out" 2>"$work/err" &
app_pid=$!
answer "Graphics Library" Escape
answer "Print" Escape
finish
[ "$(cat "$work/out")" = "box 1
dialog 0" ] || fail "Escape: unexpected answers"
sleep 0.5
[ ! -e "$work/cups/out/file-a4.pdf" ] || fail "a cancelled dialog printed"

# A server with no core fonts, where SDL cannot draw a box: both calls fail as Win32's do
# when no box can be made, and the messages reach standard error instead.
Xvfb -displayfd 3 -fp built-ins -screen 0 1024x768x24 -nolisten tcp 3>"$work/display2" 2>/dev/null &
bare_pid=$!
for _ in $(seq 100); do [ -s "$work/display2" ] && break; sleep 0.05; done
[ -s "$work/display2" ] || fail "Xvfb without fonts did not start"
set +e
DISPLAY=":$(cat "$work/display2")" timeout 60 "$program" >"$work/out" 2>"$work/err"
status=$?
set -e
kill "$bare_pid" 2>/dev/null || true
[ "$status" -eq 0 ] || fail "no fonts: status $status"
[ "$(cat "$work/out")" = "box 0
dialog 0" ] || fail "no fonts: unexpected answers"
grep -qxF "Graphics Library: Double-buffering must be enabled." "$work/err" || fail "no fonts: box text missing"
grep -q "^(this box could not be shown: .\+)$" "$work/err" || fail "no fonts: no reason given"
grep -q "^Print: printing was not possible: the print dialog could not be shown (.\+)$" "$work/err" ||
  fail "no fonts: the print dialog's failure was not reported"
echo "ok"
