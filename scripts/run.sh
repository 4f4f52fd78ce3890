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
wine64=/usr/lib/wine/wine64
probe() { "$wine64" "$BRINDLOCK_BUILD/win64/brindlock-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
"$wine64" "$BRINDLOCK_BUILD/win64/Brindlock.exe" "$@" &
program=$!

# The X window of the main window while it is shown (Wine records it on the
# window), or nothing.
shown_window() {
  local line
  line="$(probe window TForm1)" || return 0
  case "$line" in *"visible=1"*) sed -n 's/.* xwindow=\([0-9]*\) .*/\1/p' <<<"$line" ;; esac
}

probe wait-window TForm1 15000 >/dev/null || true
# Without a queued job the program hides its window about a quarter second
# after the start and sits in the tray. Wait for the tray icon (Wine's own
# tray window on a display without a tray), then click it the way a user
# brings the window back.
tray=""
for _ in $(seq 50); do
  tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -1 || true)
  [ -n "$tray" ] && break
  sleep 0.1
done
sleep 0.6
window="$(shown_window)"
if [ -z "$window" ] && [ -n "$tray" ]; then
  xdotool mousemove --window "$tray" 10 10 click 1
  for _ in $(seq 30); do
    window="$(shown_window)"
    [ -n "$window" ] && break
    sleep 0.1
  done
fi

shot="$BRINDLOCK_BUILD/screenshot-main-window.png"
if [ -n "$window" ] && [ "$window" != 0 ]; then
  # Pointer off the window, so no tooltip covers a button.
  read -r width height < <(xdotool getdisplaygeometry)
  xdotool mousemove $((width - 1)) $((height - 1)) 2>/dev/null || true
  sleep 0.6
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
