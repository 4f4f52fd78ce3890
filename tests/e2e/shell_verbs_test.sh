#!/usr/bin/env bash
# The Explorer context-menu verbs a start writes into the registry:
# - under HKEY_CURRENT_USER the four verb keys with exactly their Icon and (the
#   three selection verbs only) MultiSelectModel values, and their commands;
#   under HKEY_CLASSES_ROOT the menu texts and the same commands;
# - the same program file started from another folder (a blank in its name),
#   after the first instance ended, rewrites every path; a value a user added
#   by hand stays, a value changed by hand is overwritten.
source "$(dirname "$0")/lib.sh"
e2e_init shell_verbs

USER_SHELL='HKCU\Software\Classes\*\shell'
VERBS=(1BrindlockOpen 2BrindlockEncrypt 3BrindlockDecrypt 4BrindlockErase)

# Prints every value under the Brindlock verb keys of a `reg query /s` as
# "KEY|NAME|DATA" lines, sorted; the key relative to the queried one.
dump_verbs() {
  local root="$1"
  e2e_wine reg query "$root" /s 2>/dev/null | tr -d '\r' | awk -v root="$root" '
    /^HKEY_/ { key = $0; sub(/^[^\\]*\\/, "", key); keep = (key ~ /\\shell\\[1-4]Brindlock/); sub(/.*\\shell\\/, "", key); next }
    keep && /^    [^ ].*    REG_SZ    / {
      line = substr($0, 5); split(line, parts, "    REG_SZ    ")
      print key "|" parts[1] "|" substr(line, length(parts[1]) + 15)
    }' | sort
}

# What a start of the program at $1 (a Windows path) must have written under
# HKEY_CURRENT_USER, in dump_verbs' form.
expected_user_verbs() {
  local q="\"$1\""
  {
    printf '1BrindlockOpen|Icon|%s,-102\n' "$q"
    printf '1BrindlockOpen\\command|(Default)|%s "%%1"\n' "$q"
    printf '2BrindlockEncrypt|Icon|%s,-100\n' "$q"
    printf '2BrindlockEncrypt|MultiSelectModel|Player\n'
    printf '2BrindlockEncrypt\\command|(Default)|%s /encrypt "%%1"\n' "$q"
    printf '3BrindlockDecrypt|Icon|%s,-101\n' "$q"
    printf '3BrindlockDecrypt|MultiSelectModel|Player\n'
    printf '3BrindlockDecrypt\\command|(Default)|%s /decrypt "%%1"\n' "$q"
    printf '4BrindlockErase|Icon|%s,-103\n' "$q"
    printf '4BrindlockErase|MultiSelectModel|Player\n'
    printf '4BrindlockErase\\command|(Default)|%s /erase "%%1"\n' "$q"
  } | sort
}

expected_classes_root_verbs() {
  local q="\"$1\""
  {
    printf '1BrindlockOpen|(Default)|Open with Brindlock\n'
    printf '1BrindlockOpen\\command|(Default)|%s "%%1"\n' "$q"
    printf '2BrindlockEncrypt|(Default)|Encrypt with Brindlock\n'
    printf '2BrindlockEncrypt\\command|(Default)|%s /encrypt "%%1"\n' "$q"
    printf '3BrindlockDecrypt|(Default)|Decrypt with Brindlock\n'
    printf '3BrindlockDecrypt\\command|(Default)|%s /decrypt "%%1"\n' "$q"
    printf '4BrindlockErase|(Default)|Erase with Brindlock\n'
    printf '4BrindlockErase\\command|(Default)|%s /erase "%%1"\n' "$q"
  } | sort
}

# The start-up step writes the verbs about 222 ms after the window appeared;
# waits until the last value written (the erase command) names program $1.
wait_for_verbs_of() {
  local expected="\"$1\" /erase \"%1\"" waited=0
  until [ "$(dump_verbs "$USER_SHELL" | sed -n 's/^4BrindlockErase\\command|(Default)|//p')" == "$expected" ]; do
    [ "$waited" -ge 15000 ] && e2e_fail "the verbs were not written for $1 within 15 s"
    sleep 0.2
    waited=$((waited + 200))
  done
}

# Compares a dump with the expectation; keeps both as artifacts.
expect_dump() {
  local what="$1" expected="$2" actual="$3"
  printf '%s\n' "$expected" >"$E2E_ARTIFACTS/$what.expected"
  printf '%s\n' "$actual" >"$E2E_ARTIFACTS/$what.actual"
  diff -u "$E2E_ARTIFACTS/$what.expected" "$E2E_ARTIFACTS/$what.actual" >&2 || e2e_fail "$what differ"
}

# import_reg LINES...: applies a registry script in one Wine process (one
# `reg` call per value would take a second each under load).
import_reg() {
  printf 'REGEDIT4\r\n\r\n' >"$E2E_DIR/edit.reg"
  printf '%s\r\n' "$@" >>"$E2E_DIR/edit.reg"
  e2e_wine regedit /s "$(e2e_winpath "$E2E_DIR/edit.reg")" >/dev/null 2>&1 || e2e_fail "regedit failed"
}

# Other tests' starts write the verbs too: begin from none.
deletions=()
for verb in "${VERBS[@]}"; do
  deletions+=("[-HKEY_CURRENT_USER\\Software\\Classes\\*\\shell\\$verb]" "[-HKEY_CLASSES_ROOT\\*\\shell\\$verb]")
done
import_reg "${deletions[@]}"
[ -z "$(dump_verbs "$USER_SHELL")$(dump_verbs 'HKCR\*\shell')" ] || e2e_fail "the verbs of earlier starts are still there"

e2e_start
e2e_wait_window 15000 >/dev/null
program="$(e2e_winpath "$E2E_EXE")"
wait_for_verbs_of "$program"
expect_dump user-verbs "$(expected_user_verbs "$program")" "$(dump_verbs "$USER_SHELL")"
expect_dump classes-root-verbs "$(expected_classes_root_verbs "$program")" "$(dump_verbs 'HKCR\*\shell')"

# End the first instance the way a user does: the window brought up from the
# tray, its Terminate button (47,144, 34 x 33).
e2e_show_window
e2e_click_client 64 160
e2e_wait_exit 20000

# A hand edit of one value and an extra value of the user's own.
import_reg '[HKEY_CURRENT_USER\Software\Classes\*\shell\2BrindlockEncrypt]' \
  '"Icon"="C:\\elsewhere.ico"' '"Extended"="kept"'
e2e_expect_eq "the hand edit" 'C:\elsewhere.ico' \
  "$(dump_verbs "$USER_SHELL" | sed -n 's/^2BrindlockEncrypt|Icon|//p')"

# A second copy of the program file in a folder with a blank in its name.
mkdir -p "$E2E_DIR/moved here"
cp "$E2E_EXE" "$E2E_DIR/moved here/Brindlock.exe"
E2E_EXE="$E2E_DIR/moved here/Brindlock.exe"
moved="$(e2e_winpath "$E2E_EXE")"
e2e_start
e2e_wait_window 15000 >/dev/null
wait_for_verbs_of "$moved"
expect_dump moved-user-verbs \
  "$( (expected_user_verbs "$moved"; echo '2BrindlockEncrypt|Extended|kept') | sort)" "$(dump_verbs "$USER_SHELL")"
expect_dump moved-classes-root-verbs "$(expected_classes_root_verbs "$moved")" "$(dump_verbs 'HKCR\*\shell')"

e2e_kill
e2e_pass
