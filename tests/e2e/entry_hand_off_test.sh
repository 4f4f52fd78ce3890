#!/usr/bin/env bash
# Second starts hand their command to the running instance. The program sits
# in a folder with a blank in its name, as under "Program Files":
# - /encrypt with an existing and a missing file: the exact log block, the
#   existing file queued, the password panel up; the typed password encrypts it.
# - the Explorer encrypt verb's command line as the registry holds it (quoted
#   program path, quoted file path, both with blanks) encrypts another file.
source "$(dirname "$0")/lib.sh"
e2e_init entry_hand_off

mkdir -p "$E2E_DIR/Prog Dir" "$E2E_DIR/My Files"
mv "$E2E_EXE" "$E2E_DIR/Prog Dir/Brindlock.exe"
E2E_EXE="$E2E_DIR/Prog Dir/Brindlock.exe"
printf 'first plain file\r\n' >"$E2E_DIR/My Files/a b.txt"
printf 'second plain file, a little longer\r\n' >"$E2E_DIR/My Files/c d.txt"
program="$(e2e_winpath "$E2E_EXE")"
a="$(e2e_winpath "$E2E_DIR/My Files/a b.txt")"
missing="$(e2e_winpath "$E2E_DIR/My Files/missing.txt")"
c="$(e2e_winpath "$E2E_DIR/My Files/c d.txt")"
log="$E2E_DIR/Prog Dir/debug_messenger.txt"

# Waits until the encrypted counterpart of $1 exists with the same length and
# other bytes.
wait_encrypted() {
  local plain="$1" enc waited=0
  enc="$(dirname "$plain")/\$$(basename "$plain")"
  while [ "$waited" -lt 10000 ]; do
    if [ -f "$enc" ] && [ "$(stat -c %s "$enc")" = "$(stat -c %s "$plain")" ]; then
      cmp -s "$plain" "$enc" && e2e_fail "$enc holds the plain bytes"
      return 0
    fi
    sleep 0.1
    waited=$((waited + 100))
  done
  e2e_fail "no encrypted copy of $plain"
}

e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 5000

e2e_second_start /encrypt "$a" "$missing" || e2e_fail "second start ended with exit code $?"
printf '=== MESSENGER INSTANCE ===\r\nRaw ParamCount = 3\r\nParamStr(0) = [%s]\r\nParamStr(1) = [/encrypt]\r\nParamStr(2) = [%s]\r\nParamStr(3) = [%s]\r\n===========================\r\n' \
  "$program" "$a" "$missing" >"$E2E_ARTIFACTS/expected.log"
cmp "$E2E_ARTIFACTS/expected.log" "$log" || e2e_fail "hand-off log differs"

# The running instance came to the front with the password panel.
e2e_wait_visible 5000
e2e_probe children TForm1 | grep -q '^class=Edit .*visible=1' || e2e_fail "no password field shown"
e2e_screenshot password-panel.png >/dev/null
xdotool windowfocus --sync "$E2E_XWINDOW"
xdotool type --delay 20 'pass word'
xdotool key Return
wait_encrypted "$E2E_DIR/My Files/a b.txt"
[ -e "$E2E_DIR/My Files/\$missing.txt" ] && e2e_fail "a missing file was processed"

# The encrypt verb as written into the registry, run as Explorer runs it.
verb="$(e2e_wine reg query 'HKCU\Software\Classes\*\shell\2BrindlockEncrypt\command' /ve | tr -d '\r' |
  sed -n 's/^ *(Default) *REG_SZ *//p')"
e2e_expect_eq "encrypt verb" "\"$program\" /encrypt \"%1\"" "$verb"
e2e_probe run "${verb//%1/$c}" || e2e_fail "the verb's start failed"
# "Keep session open" was checked: the password is held, no panel comes up.
wait_encrypted "$E2E_DIR/My Files/c d.txt"
[ "$(grep -c '=== MESSENGER INSTANCE ===' "$log")" = 2 ] || e2e_fail "the log lacks the verb's block"
grep -qF "ParamStr(2) = [$c]" "$log" || e2e_fail "the verb's file path was not one argument"

e2e_pass
