# Sourced by the Wine scripts: which Windows build this machine can run under Wine, and
# the environment for running it.
#   qg_windows_arch     sets qg_arch to win32 (the default where 32-bit programs run) or
#                       win64, and qg_why to the reason; qg_arch is empty when no Wine
#                       can run here. QG_WINDOWS_ARCH=win32|win64 chooses instead.
#   qg_wine_for ARCH    exports WINEARCH, and for win64 puts the 64-bit loader first on PATH.
#   qg_wine_setup NAME  qg_wine_for $WINEARCH, or for what qg_windows_arch picks when it is
#                       unset; exits with status 2, naming NAME and why, when none runs.
qg_wine_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
qg_wine32_loader=/usr/lib/wine/wine
qg_wine64_loader=${QG_WINE64_LOADER:-/usr/lib/wine/wine64}

# A loader that starts at all: a kernel without 32-bit execution refuses wine32 with
# "Exec format error" before it prints anything.
qg_loader_runs() { [ -x "$1" ] && "$1" --version >/dev/null 2>&1; }

qg_windows_arch() {
  qg_arch= qg_why=
  case ${QG_WINDOWS_ARCH:-} in
    win32|win64) qg_arch=$QG_WINDOWS_ARCH qg_why="chosen by QG_WINDOWS_ARCH"; return ;;
    "") ;;
    *) qg_why="QG_WINDOWS_ARCH must be win32 or win64, not '$QG_WINDOWS_ARCH'"; return ;;
  esac
  if ! command -v wine >/dev/null; then
    qg_why="Wine is not installed"
  elif qg_loader_runs "$qg_wine32_loader"; then
    qg_arch=win32 qg_why="this machine runs 32-bit programs"
  elif qg_loader_runs "$qg_wine64_loader"; then
    qg_arch=win64
    qg_why="this machine cannot run 32-bit programs ($(LC_ALL=C "$qg_wine32_loader" --version 2>&1 | sed "s/^.*: //" | head -n1 || true))"
  elif [ ! -x "$qg_wine64_loader" ]; then
    qg_why="32-bit Wine cannot run here and there is no 64-bit Wine ($qg_wine64_loader)"
  else
    qg_why="no Wine loader runs on this machine ($(LC_ALL=C "$qg_wine64_loader" --version 2>&1 | head -n1 || true))"
  fi
}

qg_wine_for() {
  export WINEARCH=$1
  if [ "$1" = win64 ]; then
    case ":$PATH:" in
      *":$qg_wine_tools/wine64-loader:"*) ;;
      *) export PATH="$qg_wine_tools/wine64-loader:$PATH" ;;
    esac
    export QG_WINE64_LOADER=$qg_wine64_loader WINELOADER=$qg_wine64_loader
  fi
}

qg_wine_setup() {
  if [ -z "${WINEARCH:-}" ]; then
    qg_windows_arch
    [ -n "$qg_arch" ] || { echo "$1: cannot run Windows programs: $qg_why" >&2; exit 2; }
    WINEARCH=$qg_arch
  fi
  qg_wine_for "$WINEARCH"
}
