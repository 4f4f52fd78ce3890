#!/usr/bin/env bash
# One encrypt job of two files from the command line: the password typed into
# the real password panel and confirmed with Enter; the "$" files are byte for
# byte those of brindlock-cli, and the window hides once the job is done.
source "$(dirname "$0")/lib.sh"
e2e_init jobs_encrypt

password="Tr0ub4dor&3"
mkdir -p "$E2E_DIR/docs" "$E2E_DIR/cli"
head -c 5000 /dev/urandom >"$E2E_DIR/docs/a.txt"
head -c 123457 /dev/urandom >"$E2E_DIR/docs/b.bin"
cp "$E2E_DIR/docs/a.txt" "$E2E_DIR/docs/b.bin" "$E2E_DIR/cli/"

e2e_start /encrypt "$(e2e_winpath "$E2E_DIR/docs/a.txt")" "$(e2e_winpath "$E2E_DIR/docs/b.bin")"
e2e_wait_visible 15000
e2e_screenshot password-panel.png
xdotool windowfocus --sync "$E2E_XWINDOW" 2>/dev/null || xdotool windowfocus "$E2E_XWINDOW"
sleep 0.3
xdotool type --delay 30 "$password"
xdotool key Return

# Two files at 200 ms a tick, then the window hides 50 ms after the last.
for _ in $(seq 100); do
  [ -f "$E2E_DIR/docs/\$b.bin" ] && [ -z "$(e2e_find_xwindow || true)" ] && break
  sleep 0.1
done
[ -f "$E2E_DIR/docs/\$a.txt" ] || e2e_fail "no \$a.txt written"
[ -f "$E2E_DIR/docs/\$b.bin" ] || e2e_fail "no \$b.bin written"
[ -z "$(e2e_find_xwindow || true)" ] || e2e_fail "the window is still shown after the job"
e2e_running || e2e_fail "the program ended"

cli_exe="$(dirname "$E2E_BUILD_EXE")/brindlock-cli.exe"
(cd "$E2E_DIR/cli" && BRINDLOCK_PASSWORD="$password" e2e_wine "$cli_exe" encrypt a.txt b.bin >/dev/null 2>&1) ||
  e2e_fail "brindlock-cli encrypt failed"
for name in a.txt b.bin; do
  cmp -s "$E2E_DIR/docs/\$$name" "$E2E_DIR/cli/\$$name" || e2e_fail "\$$name differs from brindlock-cli's"
  cmp -s "$E2E_DIR/docs/$name" "$E2E_DIR/cli/$name" || e2e_fail "$name was changed"
done

e2e_kill
e2e_pass
