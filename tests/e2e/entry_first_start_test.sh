#!/usr/bin/env bash
# A first start without arguments goes to the tray about 222 ms after its
# window appeared; a second start without arguments only logs itself; Escape
# hides the window.
source "$(dirname "$0")/lib.sh"
e2e_init entry_first_start

# Polls the main window's visibility (0 or 1) until it equals $1 or $2 ms pass.
wait_visibility() {
  local want="$1" ms="$2" waited=0 line=""
  while [ "$waited" -lt "$ms" ]; do
    line="$(e2e_probe window TForm1 || true)"
    case "$line" in *"visible=$want "*) return 0 ;; esac
    sleep 0.05
    waited=$((waited + 50))
  done
  e2e_fail "window visibility did not become $want within $ms ms: $line"
}

e2e_start
e2e_wait_window 15000 >/dev/null
wait_visibility 0 3000
e2e_tray_wait 5000

program="$(e2e_winpath "$E2E_EXE")"
before="$(ls "$E2E_DIR")"
e2e_second_start || e2e_fail "second start ended with exit code $?"
printf '=== MESSENGER INSTANCE ===\r\nRaw ParamCount = 0\r\nParamStr(0) = [%s]\r\n===========================\r\n' \
  "$program" >"$E2E_ARTIFACTS/expected.log"
cmp "$E2E_ARTIFACTS/expected.log" "$E2E_DIR/debug_messenger.txt" || e2e_fail "hand-off log differs"
# The packet "O" alone is ignored: the window stays in the tray, nothing else appears.
sleep 0.5
wait_visibility 0 100
e2e_expect_eq "files in the program folder" "$(printf '%s\ndebug_messenger.txt' "$before" | sort)" \
  "$(ls "$E2E_DIR" | sort)"

# Escape hides the window again, whatever it shows.
e2e_show_window
xdotool windowfocus --sync "$E2E_XWINDOW"
xdotool key Escape
wait_visibility 0 3000
e2e_running || e2e_fail "the program ended"

e2e_pass
