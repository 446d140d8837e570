#!/usr/bin/env bash
# A private CUPS scheduler for the printing tests, or for trying the print example
# without a printer: it listens only on a socket inside DIR and prints to files there.
#
#   cups.sh start DIR [PID]
#                                set up DIR, start cupsd, add the queues; prints the
#                                CUPS_SERVER value that points a program at it. With a
#                                PID, the scheduler is stopped when that process is gone
#                                (a test that crashed does not leave it running)
#   cups.sh stop DIR    stop that cupsd and remove DIR
#
# Queues: "file-a4" (the default; A4, 150 dpi), "archive-letter" (US Letter, 100 dpi),
# both writing each job's PDF unchanged to DIR/out/<queue>.pdf; and "bare", which
# reports no media and no resolution and discards what it gets. When run as root, the
# folders above DIR must let others through: the scheduler's filters run as lp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

die() { echo "cups.sh: $*" >&2; exit 1; }
# cupsd itself cannot run on this machine: the tests that need it are skipped.
cannot_run() { echo "cups.sh: $*" >&2; exit 77; }

start() {
  local dir=$1
  command -v cupsd >/dev/null || cannot_run "cupsd is not installed (Debian: cups-daemon)"
  command -v lpadmin >/dev/null || die "lpadmin is not installed (Debian: cups-client)"
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  [ ${#dir} -le 90 ] || die "$dir is too long a path for a socket"
  mkdir -p "$dir"/{spool/tmp,cache,state,log,out,ppd}
  # Filters run as lp when cupsd runs as root, and must reach the spool files.
  chmod 755 "$dir"
  if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null &&
     ! runuser -u lp -- test -x "$dir" 2>/dev/null; then
    die "$dir cannot be reached by the lp user: a folder above it is closed to others"
  fi
  local sock=$dir/cups.sock

  cat >"$dir/cupsd.conf" <<CONF
Listen $sock
LogLevel info
WebInterface No
Browsing Off
DefaultPaperSize A4
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  {
    echo "FileDevice Yes"
    echo "ServerRoot $dir"
    echo "RequestRoot $dir/spool"
    echo "TempDir $dir/spool/tmp"
    echo "CacheDir $dir/cache"
    echo "StateDir $dir/state"
    echo "AccessLog $dir/log/access_log"
    echo "ErrorLog $dir/log/error_log"
    echo "PageLog $dir/log/page_log"
    if [ "$(id -u)" -eq 0 ]; then
      echo "User lp"
      echo "Group lp"
    fi
  } >"$dir/cups-files.conf"

  cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"

  local i
  for i in $(seq 100); do
    if [ -S "$sock" ] && lpstat -h "$sock" -r >/dev/null 2>&1; then break; fi
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || cannot_run "cupsd exited: $(tail -5 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null)"
    sleep 0.1
  done
  lpstat -h "$sock" -r >/dev/null 2>&1 || cannot_run "cupsd did not answer on $sock"

  add_queue "$dir" archive-letter 100 Letter
  add_queue "$dir" file-a4 150 A4
  lpadmin -h "$sock" -p bare -E -v file:///dev/null
  lpadmin -h "$sock" -d file-a4
  if [ -n "${2:-}" ]; then
    local watched=$2
    (while kill -0 "$watched" 2>/dev/null; do sleep 1; done; stop "$dir") </dev/null >/dev/null 2>&1 &
  fi
  echo "CUPS_SERVER=$sock"
}

add_queue() {
  local dir=$1 name=$2 res=$3 size=$4
  sed "s/@RES@/$res/g" "$here/file-printer.ppd.in" >"$dir/ppd-$name.ppd"
  # lpadmin warns that printer drivers are deprecated; this one is a plain PPD file.
  lpadmin -h "$dir/cups.sock" -p "$name" -E -v "file://$dir/out/$name.pdf" -P "$dir/ppd-$name.ppd" \
    -o PageSize="$size" 2>/dev/null
}

stop() {
  local dir=$1
  [ -d "$dir" ] || return 0
  if [ -f "$dir/cupsd.pid" ]; then
    local pid
    pid=$(cat "$dir/cupsd.pid")
    if kill "$pid" 2>/dev/null; then
      local i
      for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
    fi
  fi
  rm -rf "$dir"
}

case "${1:-}" in
  start) [ $# -ge 2 ] && [ $# -le 3 ] || die "usage: $0 start DIR [PID]"; start "$2" "${3:-}" ;;
  stop) [ $# -eq 2 ] || die "usage: $0 stop DIR"; stop "$2" ;;
  *) die "usage: $0 start DIR [PID] | stop DIR" ;;
esac
