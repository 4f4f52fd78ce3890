#!/usr/bin/env bash
# Installs what is missing, builds Brindlock.exe (Windows x64) and starts it
# under wine64 on the current X display, or on a virtual one (Xvfb) when there
# is none. Saves a screenshot of the main window and prints its path.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages "${BRINDLOCK_PACKAGES[@]}"
build_windows_x64

had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then had_display=0; fi
ensure_display

prefix="$BRINDLOCK_BUILD/run-prefix"
"$BRINDLOCK_ROOT/scripts/wine-run.sh" "$prefix" cmd /c exit 0 >/dev/null 2>&1 || true
wine_env "$prefix"
/usr/lib/wine/wine64 "$BRINDLOCK_BUILD/win64/Brindlock.exe" "$@" &
program=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Norvalde Brindlock$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
shot="$BRINDLOCK_BUILD/screenshot-main-window.png"
if [ -n "$window" ]; then
  sleep 0.3
  import -window "$window" "$shot"
  echo "Screenshot of the main window: $shot"
else
  import -window root "$shot"
  echo "The main window did not appear; screenshot of the whole display: $shot"
fi

if [ "$had_display" -eq 1 ]; then
  echo "Brindlock is running (wine64 process $program)."
else
  # Nobody can see a virtual display: end the program and the display.
  wineserver -k >/dev/null 2>&1 || true
  wait "$program" 2>/dev/null || true
  stop_display
fi
