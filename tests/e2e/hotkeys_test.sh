#!/usr/bin/env bash
# The global hotkeys of a Brindlock that sits hidden in the tray, with another
# Wine program (notepad) in front:
# - while it runs, no other program can take Ctrl+Shift+F10;
# - Ctrl+Shift+F11 with a file list on the clipboard shows the capture report
#   listing the files; once it is dismissed they are queued for encryption
#   (the password panel comes up, and the typed password encrypts both);
# - Ctrl+Shift+F12 with "$a.txt" captured decrypts it back to the plain
#   bytes, and Ctrl+Shift+F7 with "b c.txt" captured erases that file;
# - Ctrl+Shift+F11 without a file list reports an empty list and then opens
#   the "Encrypt Files" dialog;
# - after Terminate another program can take Ctrl+Shift+F10. (Wine frees a
#   dead process's hotkeys by itself too; that the window gives them back on
#   its own is shown in tests/shell/hotkeys_test.cpp.)
source "$(dirname "$0")/lib.sh"
e2e_init hotkeys

CLIP_PID=""
NOTEPAD_PID=""
stop_clipboard() {
  if [ -n "$CLIP_PID" ]; then
    kill "$CLIP_PID" 2>/dev/null || true
    wait "$CLIP_PID" 2>/dev/null || true
  fi
  CLIP_PID=""
}
cleanup() {
  stop_clipboard
  if [ -n "$NOTEPAD_PID" ]; then kill "$NOTEPAD_PID" 2>/dev/null || true; fi
  e2e_cleanup
}
trap cleanup EXIT

# put_on_clipboard TARGET TEXT: the X clipboard holds TEXT under the target
# TARGET, served by xclip until the next call.
put_on_clipboard() {
  stop_clipboard
  printf '%s' "$2" | xclip -quiet -selection clipboard -t "$1" >/dev/null 2>&1 &
  CLIP_PID=$!
  local waited=0
  until xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -qx "$1"; do
    [ "$waited" -ge 3000 ] && e2e_fail "xclip did not take the clipboard"
    sleep 0.05
    waited=$((waited + 50))
  done
}

# wait_wine_clipboard "files"|"no files": until Wine, which takes the X
# clipboard over a moment after it changed hands, offers (or no longer
# offers) a file-drop list.
wait_wine_clipboard() {
  local waited=0
  until [ "$(e2e_probe clipboard || true)" == "$1" ]; do
    [ "$waited" -ge 5000 ] && e2e_fail "Wine's clipboard does not show \"$1\""
    sleep 0.1
    waited=$((waited + 100))
  done
}

# wait_xwindow TITLE [MS]: sets XWIN to the visible X window with that title.
wait_xwindow() {
  local ms="${2:-8000}" waited=0
  XWIN=""
  until XWIN="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)" && [ -n "$XWIN" ]; do
    [ "$waited" -ge "$ms" ] && e2e_fail "no window \"$1\" within $ms ms"
    sleep 0.1
    waited=$((waited + 100))
  done
}

# The hotkey pressed on the keyboard while notepad has the focus.
press_over_notepad() {
  xdotool windowfocus --sync "$NOTEPAD" 2>/dev/null || xdotool windowfocus "$NOTEPAD"
  sleep 0.2
  xdotool key "$1"
}

# The text of the open message box, from the Win32 side: the probe prints its
# static controls one per "class=" line, a text of several lines running on.
box_text() {
  e2e_probe children '#32770' | awk '
    /^class=/ { keep = /^class=Static / && !/ text=$/; if (keep) sub(/^.* text=/, "") }
    keep'
}

wait_box_text() {
  local text="" waited=0
  until text="$(box_text)" && [ -n "$text" ]; do
    [ "$waited" -ge 5000 ] && e2e_fail "the report box shows no text"
    sleep 0.1
    waited=$((waited + 100))
  done
  printf '%s\n' "$text"
}

# capture_files KEY NAME...: the named files of docs/ go on the clipboard as
# a file manager puts them there, KEY is pressed over notepad, and the
# capture report that comes up is checked to list exactly those files and
# then dismissed; the files are then queued for the key's command.
capture_files() {
  local key="$1" name encoded uris="" listed="" expected
  shift
  for name in "$@"; do
    encoded="${name//%/%25}"
    encoded="${encoded//\$/%24}"
    uris+="file://$E2E_DIR/docs/${encoded// /%20}"$'\r\n'
    listed+="$(e2e_winpath "$E2E_DIR/docs/$name")"$'\n'
  done
  # Plain text first: Wine must be seen to drop an earlier file list, or
  # the key could capture that one.
  put_on_clipboard UTF8_STRING "-"
  wait_wine_clipboard "no files"
  put_on_clipboard text/uri-list "$uris"
  wait_wine_clipboard files
  press_over_notepad "$key"
  wait_xwindow "Brindlock Clipboard-Debug"
  report="$(wait_box_text)"
  expected="$(printf 'sendCtrlC: yes\nIsClipboardFormatAvailable(CF_HDROP): YES\nOpenClipboard: OK\nhDrop: non-NULL\nFile count: %d\n\n%s' "$(grep -c . <<<"$listed")" "$listed")"
  e2e_expect_eq "the report of $key" "$expected" "$(tr -d '\r' <<<"$report")"
  xdotool windowfocus --sync "$XWIN" 2>/dev/null || xdotool windowfocus "$XWIN"
  xdotool key Return
}

# wait_job_result MS CONDITION: until the shell CONDITION holds and the main
# window has gone back to the tray (the job has ended).
wait_job_result() {
  local ms="$1" waited=0
  shift
  until eval "$*" && [ -z "$(e2e_find_xwindow || true)" ]; do
    [ "$waited" -ge "$ms" ] && return 1
    sleep 0.1
    waited=$((waited + 100))
  done
}

password="hotkey-pass"
mkdir -p "$E2E_DIR/docs"
printf 'first file\r\n' >"$E2E_DIR/docs/a.txt"
printf 'second file, with a blank in its name\r\n' >"$E2E_DIR/docs/b c.txt"

e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 10000
[ "$(e2e_visible TForm1)" == 0 ] || e2e_fail "the window did not go to the tray"
if taken="$(e2e_probe hotkey 6 0x79)"; then e2e_fail "Ctrl+Shift+F10 is free while the program runs: $taken"; fi
e2e_expect_eq "Ctrl+Shift+F10 while the program runs" "hotkey taken" "$taken"

(cd "$E2E_DIR" && exec "$E2E_WINE" notepad) >/dev/null 2>&1 &
NOTEPAD_PID=$!
wait_xwindow ".*Notepad" 10000
NOTEPAD="$XWIN"

# A file list, as a file manager puts it on the X clipboard.
capture_files ctrl+shift+F11 a.txt "b c.txt"
printf '%s\n' "$report" >"$E2E_ARTIFACTS/report-files.txt"

# Queued as an encrypt job: the window comes up with the password panel.
e2e_wait_visible 5000
waited=0
until e2e_probe children TForm1 | grep -q '^class=Edit .*visible=1'; do
  [ "$waited" -ge 5000 ] && e2e_fail "the password panel did not come up"
  sleep 0.1
  waited=$((waited + 100))
done
xdotool windowfocus --sync "$E2E_XWINDOW" 2>/dev/null || xdotool windowfocus "$E2E_XWINDOW"
sleep 0.3
xdotool type --delay 30 "$password"
xdotool key Return
waited=0
wait_job_result 10000 '[ -f "$E2E_DIR/docs/\$a.txt" ] && [ -f "$E2E_DIR/docs/\$b c.txt" ]' ||
  e2e_fail "the captured files were not encrypted"
for name in a.txt "b c.txt"; do
  [ "$(stat -c %s "$E2E_DIR/docs/\$$name")" == "$(stat -c %s "$E2E_DIR/docs/$name")" ] || e2e_fail "\$$name has another length"
  cmp -s "$E2E_DIR/docs/\$$name" "$E2E_DIR/docs/$name" && e2e_fail "\$$name holds the plain bytes"
done

# Decrypt with the hotkey: the plain file is moved aside first, so what comes
# back is the decryption's. The session from the encryption is still open
# (it is kept by default), so no password is asked for.
mv "$E2E_DIR/docs/a.txt" "$E2E_DIR/plain-a.txt"
capture_files ctrl+shift+F12 '$a.txt'
wait_job_result 10000 '[ -f "$E2E_DIR/docs/a.txt" ]' || e2e_fail "the captured \$a.txt was not decrypted"
cmp "$E2E_DIR/docs/a.txt" "$E2E_DIR/plain-a.txt" || e2e_fail "the decrypted a.txt differs from the original"

# Erase with the hotkey: the plain file goes, its encrypted copy stays.
capture_files ctrl+shift+F7 "b c.txt"
wait_job_result 15000 '[ ! -e "$E2E_DIR/docs/b c.txt" ]' || e2e_fail "the captured \"b c.txt\" was not erased"
[ -f "$E2E_DIR/docs/\$b c.txt" ] || e2e_fail "erasing \"b c.txt\" took its encrypted copy too"

# No file list: the report says so, and the dialog of the command follows.
put_on_clipboard UTF8_STRING "no files here"
wait_wine_clipboard "no files"
press_over_notepad ctrl+shift+F11
wait_xwindow "Brindlock Clipboard-Debug"
report="$(wait_box_text)"
printf '%s\n' "$report" >"$E2E_ARTIFACTS/report-empty.txt"
expected="$(printf 'sendCtrlC: yes\nIsClipboardFormatAvailable(CF_HDROP): NO\nOpenClipboard: OK\nhDrop: NULL\nFile count: 0\n')"
e2e_expect_eq "the report of no files" "$expected" "$(tr -d '\r' <<<"$report")"
xdotool windowfocus --sync "$XWIN" 2>/dev/null || xdotool windowfocus "$XWIN"
xdotool key Return
# The file dialog takes a while to come up under load.
wait_xwindow "Encrypt Files" 20000
sleep 0.5  # a moment to paint, for the picture
import -window "$XWIN" "$E2E_ARTIFACTS/encrypt-files-dialog.png" || true
xdotool windowfocus --sync "$XWIN" 2>/dev/null || xdotool windowfocus "$XWIN"
xdotool key Escape
e2e_wait_while 5000 xdotool search --onlyvisible --name '^Encrypt Files$' ||
  e2e_fail "Escape did not close the Encrypt Files dialog"
stop_clipboard

# Terminate gives the hotkeys back. Notepad goes first: it covers the tray
# window's corner of the screen. The window comes up from the tray, and its
# Terminate button (47,144, 34 x 33) ends the program; the tray menu's access
# key would need the X focus on a window of the program, which Wine does not
# always give it in time.
kill "$NOTEPAD_PID" 2>/dev/null || true
wait "$NOTEPAD_PID" 2>/dev/null || true
NOTEPAD_PID=""
e2e_wait_while 5000 xdotool search --onlyvisible --name '.*Notepad$' || e2e_fail "notepad did not end"
e2e_show_window
e2e_click_client 64 160
e2e_wait_exit 20000
e2e_expect_eq "exit code" 0 "$E2E_EXIT"
e2e_expect_eq "Ctrl+Shift+F10 after Terminate" "hotkey free" "$(e2e_probe hotkey 6 0x79)"

e2e_pass
