#!/usr/bin/env bash
# Runs a Windows program under wine64 with a given prefix, creating the prefix
# on first use. Used as CMake's cross-compiling emulator: wine-run.sh PREFIX PROGRAM ARGS...
set -euo pipefail
prefix="$1"
shift
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=/usr/lib/wine/wine64
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      "$WINE64" wineboot -i >/dev/null 2>&1 || true
      wineserver -w || true
    fi
  ) 9>"$prefix.lock"
fi
exec "$WINE64" "$@"
