#!/usr/bin/env bash
# The idle program lives in the tray: its window and taskbar button hide a
# moment after the start; a left click on the tray icon shows both, a second
# one hides them again; Alt+F4 only hides; the Terminate button ends the
# program with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_init window_behaviour

expect_shown() {
  e2e_expect_eq "$1: main window visible" "$2" "$(e2e_visible TForm1)"
  e2e_expect_eq "$1: taskbar window visible" "$2" "$(e2e_visible TApplication)"
}

# Under Wine without a window manager, hiding a window blocks the program for
# about 2 s (Wine waits for a window manager to confirm), so allow some time.
wait_shown() {
  local want="$2" waited=0
  while [ "$(e2e_visible TForm1)$(e2e_visible TApplication)" != "$want$want" ] && [ "$waited" -lt 6000 ]; do
    sleep 0.1
    waited=$((waited + 100))
  done
  expect_shown "$1" "$want"
}

e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 5000
wait_shown "after the start-up step" 0

e2e_tray_click 1
wait_shown "after a tray click" 1
e2e_tray_click 1
wait_shown "after a second tray click" 0

e2e_show_window
xdotool windowfocus "$E2E_XWINDOW" 2>/dev/null || true
sleep 0.3
xdotool key alt+F4
wait_shown "after Alt+F4" 0
e2e_running || e2e_fail "Alt+F4 ended the program"

e2e_show_window
# The Terminate button: 47,144, 34 x 33.
e2e_click_client 64 160
e2e_wait_exit 10000
e2e_expect_eq "exit code" 0 "$E2E_EXIT"
e2e_pass
