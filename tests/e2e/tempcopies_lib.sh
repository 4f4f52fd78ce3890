# Shared by the viewing-copy tests (tempcopies_*_test.sh): an encrypted file,
# a test viewer, and the road that opens the file through a second start.
# shellcheck shell=bash
#
#   tc_prepare            After e2e_init (and, to save time, while the first
#                         start is on its way): writes a random plain file,
#                         encrypts it with brindlock-cli under Wine into
#                         "$report.bltest" in a folder with a blank in its name,
#                         keeps the plain bytes outside that folder, and
#                         registers the test viewer.
#                         Sets TC_PLAIN, TC_ENC, TC_ENC_WIN, TC_COPY, TC_COPY_WIN,
#                         TC_LIST, TC_SEEN, TC_PASSWORD.
#   tc_open_by_second_start
#                         After e2e_start: waits for the first start to settle in
#                         the tray, runs a second start with the encrypted file's
#                         path, then tc_give_password.
#   tc_give_password      Waits for the password panel, types the password and
#                         returns once the copy has been handed to the viewer
#                         and the list file exists and the window has hidden
#                         itself. Sets TC_SCHEDULED (epoch seconds at which the
#                         list file was first seen).
#   tc_due_epoch          Prints the due time of the list file's only line as
#                         Unix epoch seconds; fails the test unless the file is
#                         exactly one line "copy path|due time" ended by CR LF.
#   tc_expect_wiped_clean After the copy was wiped: the list file goes too (within
#                         3 s), nothing but the encrypted file is left in its
#                         folder, and the program still runs.
#   tc_now                Epoch seconds with a fraction.
#   tc_seconds_since T    Seconds from epoch T to now, with one decimal.

# An extension that nothing else in the prefix claims, so the shell's "open"
# runs our viewer and nothing else.
TC_EXT=bltest

tc_now() { date +%s.%N; }

tc_expect_wiped_clean() {
  e2e_wait_while 3000 test -e "$TC_LIST" || e2e_fail "the list file stays after the last copy was wiped"
  local left
  left="$(ls -A "$E2E_DIR/My Docs")"
  e2e_expect_eq "files left beside the encrypted file" "\$report.$TC_EXT" "$left"
  e2e_running || e2e_fail "the program ended"
}

tc_seconds_since() { awk -v a="$1" -v b="$(tc_now)" 'BEGIN { printf "%.1f", b - a }'; }

# The viewer copies the file it is given to seen.bin at the moment the shell
# opens it, then ends, so it never holds the copy open when its wipe falls due.
# It is a script for wscript, a program without a window: a console program
# such as cmd would get a console window from Wine when a windowed program
# starts it, and that window, placed over the tray, takes the test's clicks.
# Wine's shell reads associations from HKEY_CLASSES_ROOT only (it does not
# merge HKCU\Software\Classes into it), hence the machine-wide keys; both go
# in with one start of reg.exe, as every Wine start costs seconds.
tc_register_viewer() {
  local seen script reg
  seen="$(e2e_winpath "$TC_SEEN")"
  script="$E2E_DIR/plain/viewer.js"
  reg="$E2E_DIR/plain/viewer.reg"
  printf '%s\r\n' 'var files = new ActiveXObject("Scripting.FileSystemObject");' \
    "files.CopyFile(WScript.Arguments(0), \"${seen//\\/\\\\}\", true);" >"$script"
  local command="wscript.exe //B \"$(e2e_winpath "$script")\" \"%1\""
  command="${command//\\/\\\\}"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    "[HKEY_CLASSES_ROOT\\.$TC_EXT]" '@="brindlock_e2e_viewer"' '' \
    '[HKEY_CLASSES_ROOT\brindlock_e2e_viewer\shell\open\command]' \
    "@=\"${command//\"/\\\"}\"" >"$reg"
  e2e_wine reg import "$(e2e_winpath "$reg")" >/dev/null 2>&1 || e2e_fail "cannot register the test viewer"
}

tc_prepare() {
  TC_PASSWORD="open Sesame 7"
  local docs="$E2E_DIR/My Docs"
  mkdir -p "$docs" "$E2E_DIR/plain"
  TC_PLAIN="$E2E_DIR/plain/report.$TC_EXT"
  TC_ENC="$docs/\$report.$TC_EXT"
  TC_COPY="$docs/_Brindlock.$TC_EXT"
  TC_LIST="$E2E_DIR/Brindlock.del"
  TC_SEEN="$E2E_DIR/seen.bin"
  TC_ENC_WIN="$(e2e_winpath "$TC_ENC")"
  TC_COPY_WIN="$(e2e_winpath "$TC_COPY")"

  head -c 40000 /dev/urandom >"$docs/report.$TC_EXT"
  local cli_exe
  cli_exe="$(dirname "$E2E_BUILD_EXE")/brindlock-cli.exe"
  (cd "$docs" && BRINDLOCK_PASSWORD="$TC_PASSWORD" e2e_wine "$cli_exe" encrypt "report.$TC_EXT" >/dev/null 2>&1) ||
    e2e_fail "brindlock-cli encrypt failed"
  [ -f "$TC_ENC" ] || e2e_fail "brindlock-cli wrote no \$report.$TC_EXT"
  # Only the encrypted file stays beside the copy to come.
  mv "$docs/report.$TC_EXT" "$TC_PLAIN"
  cp "$TC_ENC" "$E2E_DIR/plain/encrypted.before"
  tc_register_viewer
}

tc_open_by_second_start() {
  e2e_wait_window 20000 >/dev/null
  e2e_tray_wait 10000

  e2e_second_start "$TC_ENC_WIN" || e2e_fail "second start ended with exit code $?"
  tc_give_password
}

tc_give_password() {
  e2e_wait_visible 15000
  e2e_probe children TForm1 | grep -q '^class=Edit .*visible=1' || e2e_fail "no password field shown:
$(e2e_probe children TForm1)"
  [ -e "$TC_COPY" ] && e2e_fail "a copy exists before the password was given"
  xdotool windowfocus --sync "$E2E_XWINDOW" 2>/dev/null || xdotool windowfocus "$E2E_XWINDOW"
  sleep 0.3
  xdotool type --delay 30 "$TC_PASSWORD"
  xdotool key Return

  # The copy is written, opened with the viewer and registered: the list file
  # appears once it is registered.
  local waited=0
  TC_SCHEDULED=""
  while [ "$waited" -lt 20000 ]; do
    if [ -z "$TC_SCHEDULED" ] && [ -f "$TC_LIST" ]; then TC_SCHEDULED="$(tc_now)"; fi
    [ -n "$TC_SCHEDULED" ] && [ -f "$TC_SEEN" ] && [ "$(stat -c %s "$TC_SEEN")" = "$(stat -c %s "$TC_PLAIN")" ] && break
    sleep 0.1
    waited=$((waited + 100))
  done
  [ -n "$TC_SCHEDULED" ] || e2e_fail "no list file $TC_LIST after the open"
  [ -f "$TC_SEEN" ] || e2e_fail "the viewer was not started on the copy"
  cmp -s "$TC_SEEN" "$TC_PLAIN" || e2e_fail "the viewer was given other bytes than the plain file"
  # The job is over: the window hides itself.
  e2e_poll 10000 tc_window_hidden >/dev/null || e2e_fail "the window stays up after the open"
  e2e_log "copy opened and registered"
}

tc_window_hidden() { [ -n "$(e2e_find_xwindow || true)" ] || echo hidden; }

tc_due_epoch() {
  local line due
  line="$(head -n 1 "$TC_LIST" | tr -d '\r')"
  due="${line#*|}"
  printf '%s|%s\r\n' "$TC_COPY_WIN" "$due" | cmp -s - "$TC_LIST" ||
    e2e_fail "list file is not the one line \"$TC_COPY_WIN|<due time>\" with CR LF: $(od -An -c "$TC_LIST" | tr -s ' \n' ' ')"
  [[ "$due" =~ ^[0-9]+(\.[0-9]+)?$ ]] || e2e_fail "due time [$due] is not a number"
  # Days since 30 December 1899 in local time, as Wine's clock follows TZ.
  local zone sign hours minutes offset
  zone="$(date +%z)"
  sign="${zone:0:1}"
  hours="${zone:1:2}"
  minutes="${zone:3:2}"
  offset=$(((10#$hours * 3600 + 10#$minutes * 60)))
  [ "$sign" = "-" ] && offset=$((-offset))
  awk -v d="$due" -v o="$offset" 'BEGIN { printf "%.3f", (d - 25569) * 86400 - o }'
}
