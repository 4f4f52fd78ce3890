# Helpers for end-to-end tests that drive the real Brindlock.exe under wine64.
# shellcheck shell=bash
#
# A test script sources this file, calls e2e_init once and then the helpers
# below; cleanup runs by itself when the script exits. CTest passes the paths
# through the environment (tests/e2e/CMakeLists.txt); a script can also run by
# hand from a win64 build folder:
#   BRINDLOCK_BUILD_DIR=build/win64 bash tests/e2e/main_window_test.sh
#
# Every e2e test runs with RESOURCE_LOCK brindlock_desktop, so at most one of
# them uses the display, the clipboard and the e2e Wine prefix at a time. The
# prefix (BUILD/e2e-prefix) is shared by the e2e tests only; the unit tests
# under Wine use another one, so ending this prefix's wineserver is safe.
#
# Setup and environment
#   e2e_init NAME        Fresh work folder C:\e2e\NAME in the prefix with its
#                        own copy of Brindlock.exe (so the program folder, its
#                        hand-off log and list file, belongs to this test alone),
#                        a display (Xvfb when none is set) and cleanup on exit.
#                        Sets: E2E_NAME, E2E_PREFIX, E2E_DIR (Unix path of the
#                        work folder), E2E_WINDIR (C:\e2e\NAME), E2E_EXE,
#                        E2E_ARTIFACTS (BUILD/e2e-artifacts/NAME, kept after the
#                        run), WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES.
#   e2e_winpath PATH     Prints the Windows path (C:\...) of a Unix path inside
#                        the prefix's drive_c.
#   e2e_wine ARGS...     Runs a Windows program in the prefix (e.g. `e2e_wine
#                        reg query ...`, `e2e_wine cmd /c attrib C:\\x`).
#   e2e_probe ARGS...    Runs brindlock-probe.exe, the test's eyes on the Win32
#                        side (src/platform/win32/probe/probe.cpp):
#                          window CLASS          hwnd, X window, visible, client size,
#                                                styles, caption; exit 1 when there is none
#                          wait-window CLASS MS  the same, waiting for it
#                          children CLASS        one line per child control
#                          attributes PATH       a file's attributes in hex and by
#                                                name ("hidden", "temporary", ...)
#                          hotkey MODS VK        "hotkey free" (exit 0) when this
#                                                process can register the hotkey,
#                                                "hotkey taken" (exit 1) when not
#                          clipboard             "files" (exit 0) when the clipboard
#                                                offers a file-drop list, else
#                                                "no files" (exit 1)
#   e2e_poll MS CMD...   Runs CMD every 100 ms until it prints something;
#                        prints that, or returns 1 after MS milliseconds.
#   e2e_wait_while MS CMD...
#                        Runs CMD every 100 ms while it succeeds; returns 1 when
#                        it still succeeds after MS milliseconds.
#
# The program under test
#   e2e_start ARGS...    Starts Brindlock.exe from the work folder in the
#                        background (first start). Sets E2E_PID.
#   e2e_second_start ARGS...
#                        Runs a second start in the foreground, waits for it and
#                        returns its exit code.
#   e2e_wait_window [MS] Waits until a window of class "TForm1" exists (hidden
#                        or not); prints its probe line. Fails the test on timeout.
#   e2e_wait_visible [MS]
#                        Waits until that window is visible on the X display;
#                        sets E2E_XWINDOW to its X window id.
#   e2e_show_window      Brings the window up the way a user does, by a left
#                        click on the tray icon when it is hidden; sets E2E_XWINDOW.
#   e2e_visible CLASS    Prints 1 when the top-level window of that class is
#                        visible, 0 when hidden, nothing when there is none
#                        ("TApplication" is the window of the taskbar button).
#   e2e_click_client X Y [BUTTON]
#                        Clicks at client pixel X,Y of the main window.
#   e2e_screenshot FILE  Saves a PNG of the main window (E2E_XWINDOW) as
#                        E2E_ARTIFACTS/FILE and prints its path.
#   e2e_wait_exit [MS]   Waits for the program to end; sets E2E_EXIT to its exit
#                        code. Fails the test when it does not end in time.
#   e2e_running          True while the program runs.
#   e2e_kill             Ends the program (only ours, by its process id).
#
# The tray (Wine draws tray icons in its own "Wine System Tray" window when the
# X display has no tray of its own; it appears with the first icon and takes
# real mouse clicks, which Wine turns into the program's tray notifications)
#   e2e_tray_wait [MS]   Waits until the tray window shows an icon; sets
#                        E2E_TRAY to its X window id. Fails the test on timeout.
#   e2e_tray_click [BUTTON]
#                        Clicks the program's tray icon (the first one) with
#                        mouse button 1 (left, default) or 3 (right: the menu).
#   e2e_menu_keys KEYS...
#                        Sends keys (xdotool names) to the open tray menu, e.g.
#                        `e2e_menu_keys t` picks "&Terminate".
#
# Checks
#   e2e_fail MESSAGE     Prints the message and ends the test with failure.
#   e2e_expect_eq WHAT EXPECTED ACTUAL
#                        Fails the test with WHAT when the two texts differ.
#   e2e_pass             Prints the test's pass line (call it last).

set -euo pipefail

E2E_LIB_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../scripts/common.sh
source "$E2E_LIB_DIR/../../scripts/common.sh"

E2E_WINE=/usr/lib/wine/wine64
E2E_PID=""
E2E_EXIT=""
E2E_XWINDOW=""

e2e_log() { echo "[e2e:${E2E_NAME:-?}] $*" >&2; }

e2e_fail() {
  e2e_log "FAIL: $*"
  exit 1
}

e2e_expect_eq() {
  [ "$2" == "$3" ] || e2e_fail "$1: expected [$2], got [$3]"
}

e2e_pass() { e2e_log "PASS"; }

e2e_init() {
  E2E_NAME="$1"
  local build="${BRINDLOCK_BUILD_DIR:-}"
  [ -n "$build" ] || build="$BRINDLOCK_BUILD/win64"
  build="$(cd "$build" && pwd)"
  E2E_BUILD_EXE="${BRINDLOCK_EXE:-$build/Brindlock.exe}"
  E2E_PROBE="${BRINDLOCK_PROBE:-$build/brindlock-probe.exe}"
  E2E_PREFIX="${BRINDLOCK_E2E_PREFIX:-$build/e2e-prefix}"
  E2E_ARTIFACTS="${BRINDLOCK_E2E_ARTIFACTS:-$build/e2e-artifacts}/$E2E_NAME"
  [ -f "$E2E_BUILD_EXE" ] || e2e_fail "no program at $E2E_BUILD_EXE"
  [ -f "$E2E_PROBE" ] || e2e_fail "no probe at $E2E_PROBE"

  trap e2e_cleanup EXIT
  ensure_display
  # Creates the prefix on first use (10-15 s), under a lock.
  "$BRINDLOCK_ROOT/scripts/wine-run.sh" "$E2E_PREFIX" cmd /c exit 0 >/dev/null 2>&1 || true
  wine_env "$E2E_PREFIX"

  E2E_DIR="$E2E_PREFIX/drive_c/e2e/$E2E_NAME"
  E2E_WINDIR="C:\\e2e\\$E2E_NAME"
  rm -rf "$E2E_DIR" "$E2E_ARTIFACTS"
  mkdir -p "$E2E_DIR" "$E2E_ARTIFACTS"
  cp "$E2E_BUILD_EXE" "$E2E_DIR/Brindlock.exe"
  E2E_EXE="$E2E_DIR/Brindlock.exe"
}

e2e_winpath() {
  local rel="${1#"$E2E_PREFIX/drive_c/"}"
  printf 'C:\\%s\n' "${rel//\//\\}"
}

e2e_wine() { "$E2E_WINE" "$@"; }

# Wine writes console lines with CR LF; the tests compare plain lines.
e2e_probe() { "$E2E_WINE" "$E2E_PROBE" "$@" | tr -d '\r'; }

e2e_start() {
  (cd "$E2E_DIR" && exec "$E2E_WINE" "$E2E_EXE" "$@") &
  E2E_PID=$!
  e2e_log "started Brindlock.exe (pid $E2E_PID) $*"
}

e2e_second_start() {
  local rc=0
  (cd "$E2E_DIR" && exec "$E2E_WINE" "$E2E_EXE" "$@") || rc=$?
  return $rc
}

e2e_running() { [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; }

e2e_wait_window() {
  local ms="${1:-15000}"
  e2e_probe wait-window TForm1 "$ms" || e2e_fail "no window of class TForm1 within $ms ms"
}

# The X window of the main window: the one Wine records on the window, else
# the visible X window named after its caption.
e2e_find_xwindow() {
  local line xid caption
  line="$(e2e_probe window TForm1 2>/dev/null)" || return 1
  case "$line" in *"visible=1"*) ;; *) return 1 ;; esac
  xid="$(sed -n 's/.* xwindow=\([0-9]*\) .*/\1/p' <<<"$line")"
  if [ -n "$xid" ] && [ "$xid" != 0 ]; then
    echo "$xid"
    return 0
  fi
  caption="${line#*caption=}"
  xdotool search --onlyvisible --name "^$(printf '%s' "$caption" | sed 's/[][\.*^$()|+?{}]/\\&/g')\$" 2>/dev/null | head -1
}

# Runs a command every 100 ms until it prints something; prints that and
# returns 0, or returns 1 when MS milliseconds pass without output.
e2e_poll() {
  local ms="$1" waited=0 out
  shift
  while [ "$waited" -lt "$ms" ]; do
    out="$("$@" 2>/dev/null || true)"
    if [ -n "$out" ]; then
      printf '%s\n' "$out"
      return 0
    fi
    sleep 0.1
    waited=$((waited + 100))
  done
  return 1
}

e2e_wait_while() {
  local ms="$1" waited=0
  shift
  while "$@" >/dev/null 2>&1; do
    [ "$waited" -ge "$ms" ] && return 1
    sleep 0.1
    waited=$((waited + 100))
  done
  return 0
}

e2e_wait_visible() {
  local ms="${1:-10000}"
  E2E_XWINDOW="$(e2e_poll "$ms" e2e_find_xwindow)" || e2e_fail "main window not visible within $ms ms"
}

e2e_show_window() {
  if [ -z "$(e2e_find_xwindow || true)" ]; then
    e2e_tray_wait 5000
    e2e_tray_click 1
  fi
  e2e_wait_visible 5000
}

E2E_TRAY=""
e2e_tray_wait() {
  local ms="${1:-10000}"
  E2E_TRAY="$(e2e_poll "$ms" xdotool search --onlyvisible --name '^Wine System Tray$')" ||
    e2e_fail "no tray icon within $ms ms"
  E2E_TRAY="${E2E_TRAY%%$'\n'*}"
}

e2e_tray_click() {
  [ -n "$E2E_TRAY" ] || e2e_tray_wait 5000
  # Icons sit in slots from the left; the first slot's middle is at 10,10.
  xdotool mousemove --window "$E2E_TRAY" 10 10 click "${1:-1}"
  sleep 0.3
}

e2e_menu_keys() {
  xdotool key --delay 100 "$@"
  sleep 0.3
}

e2e_visible() {
  e2e_probe window "$1" 2>/dev/null | sed -n 's/.* visible=\([01]\) .*/\1/p'
}

e2e_click_client() {
  local line origin
  line="$(e2e_probe window TForm1)" || e2e_fail "no main window to click"
  origin="$(sed -n 's/.* origin=\(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\) .*/\1/p' <<<"$line")"
  xdotool mousemove $((${origin%,*} + $1)) $((${origin#*,} + $2)) click "${3:-1}"
  sleep 0.3
}

e2e_screenshot() {
  local out="$E2E_ARTIFACTS/$1"
  [ -n "$E2E_XWINDOW" ] || e2e_fail "e2e_screenshot: no visible window"
  # The pointer away from the window, so no button tooltip covers it; and a
  # moment for the window to paint after it came up.
  local width height
  read -r width height < <(xdotool getdisplaygeometry)
  xdotool mousemove $((width - 1)) $((height - 1)) 2>/dev/null || true
  sleep 0.6
  import -window "$E2E_XWINDOW" "$out" || e2e_fail "screenshot failed"
  echo "$out"
}

e2e_wait_exit() {
  local ms="${1:-10000}" waited=0
  while e2e_running; do
    [ "$waited" -ge "$ms" ] && e2e_fail "program still running after $ms ms"
    sleep 0.1
    waited=$((waited + 100))
  done
  E2E_EXIT=0
  wait "$E2E_PID" || E2E_EXIT=$?
  E2E_PID=""
}

e2e_kill() {
  if e2e_running; then
    kill "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
  fi
  E2E_PID=""
}

e2e_cleanup() {
  local rc=$?
  e2e_kill
  # Only the e2e tests use this prefix, and never two at a time.
  if [ -n "${E2E_PREFIX:-}" ]; then WINEPREFIX="$E2E_PREFIX" wineserver -k >/dev/null 2>&1 || true; fi
  stop_display
  return $rc
}
