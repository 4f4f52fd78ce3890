#!/usr/bin/env bash
# Thirty second starts in quick succession, six at a time, each with a file
# of its own: thirty log blocks and thirty encrypted files, nothing lost. The
# password is entered once first ("Keep session open" checked), so no panel
# holds the jobs up.
source "$(dirname "$0")/lib.sh"
e2e_init entry_many_starts

for i in $(seq 0 30); do printf 'file number %d\r\n' "$i" >"$E2E_DIR/f$i.txt"; done
log="$E2E_DIR/debug_messenger.txt"

e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 5000

# The first command asks for the password.
e2e_second_start /encrypt "$(e2e_winpath "$E2E_DIR/f0.txt")" || e2e_fail "exit code $?"
e2e_wait_visible 5000
xdotool windowfocus --sync "$E2E_XWINDOW"
xdotool type --delay 20 secret
xdotool key Return
for _ in $(seq 100); do [ -f "$E2E_DIR/\$f0.txt" ] && break; sleep 0.1; done
[ -f "$E2E_DIR/\$f0.txt" ] || e2e_fail "the first file was not encrypted"

started=$(date +%s)
for batch in 0 1 2 3 4; do
  pids=()
  for k in 1 2 3 4 5 6; do
    i=$((batch * 6 + k))
    e2e_second_start /encrypt "$(e2e_winpath "$E2E_DIR/f$i.txt")" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || e2e_fail "a second start ended with exit code $?"; done
done
e2e_log "thirty second starts took $(($(date +%s) - started)) s"

for _ in $(seq 150); do
  [ "$(ls "$E2E_DIR" | grep -c '^\$f[0-9]*\.txt$')" = 31 ] && break
  sleep 0.1
done
for i in $(seq 0 30); do
  [ -f "$E2E_DIR/\$f$i.txt" ] || e2e_fail "f$i.txt was not encrypted"
  cmp -s "$E2E_DIR/f$i.txt" "$E2E_DIR/\$f$i.txt" && e2e_fail "\$f$i.txt holds the plain bytes"
done
e2e_expect_eq "log blocks" 31 "$(grep -c '^=== MESSENGER INSTANCE ===' "$log")"
e2e_expect_eq "closing lines" 31 "$(grep -c '^===========================' "$log")"
for i in $(seq 0 30); do
  e2e_expect_eq "blocks for f$i.txt" 1 "$(grep -c "ParamStr(2) = \[.*\\\\f$i\.txt\]" "$log")"
done

e2e_pass
