#!/usr/bin/env bash
# A first start without arguments: the main window is registered under the
# class name "TForm1" (the name second starts look for) with the caption
# "Norvalde Brindlock", a client area of 416 x 180 and its controls in place;
# the tray icon is added; a screenshot of the shown window is kept; the tray
# menu's "&Terminate" ends the program with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_init main_window

e2e_start
line="$(e2e_wait_window 15000)"
e2e_log "$line"
e2e_expect_eq "caption" "Norvalde Brindlock" "${line#*caption=}"
case "$line" in *"client=416x180 "*) ;; *) e2e_fail "client area is not 416x180: $line" ;; esac
# A dialog border: caption and system menu, no sizing frame, no minimise or maximise box.
style=$(sed -n 's/.* style=\(0x[0-9a-f]*\) .*/\1/p' <<<"$line")
(( (style & 0x00C00000) == 0x00C00000 )) || e2e_fail "no caption: $style"
(( (style & 0x00080000) != 0 )) || e2e_fail "no system menu: $style"
(( (style & 0x00070000 & ~0x00080000) == 0 )) || e2e_fail "sizing frame, minimise or maximise box: $style"

# The icon in the tray, seen from outside: Wine's tray window appears with the
# first icon, and in this prefix no other program runs.
e2e_tray_wait 5000
# Let the start-up step (about 222 ms after creation) run its course before
# the window is brought up.
sleep 0.5

# The buttons the idle window shows, at their places (client pixels of the
# main window, also for controls inside a panel).
children="$(e2e_probe children TForm1)"
for expected in \
  "rect=8,64,81,75 visible=1 text=Open Enc Files" \
  "rect=88,64,81,75 visible=1 text=Encrypt Files" \
  "rect=168,64,81,75 visible=1 text=Decrypt Files" \
  "rect=248,64,80,75 visible=1 text=Erase Files" \
  "rect=327,64,80,75 visible=1 text=Clear Session" \
  "rect=307,144,100,33 visible=1 text=&Abort" \
  "rect=8,144,33,33 visible=1 text=" \
  "rect=47,144,34,33 visible=1 text=" \
  "rect=200,144,100,33 visible=0 text=&Ok" \
  "rect=8,8,401,129 visible=0 text="; do
  grep -qF -- "$expected" <<<"$children" || e2e_fail "no control with [$expected] in:
$children"
done

e2e_show_window
shot="$(e2e_screenshot main-window.png)"
e2e_log "screenshot: $shot"

# Terminate from the tray menu: right click on the icon, then the item's
# access key.
e2e_tray_click 3
sleep 0.3
import -window root -crop 400x400+0+0 "$E2E_ARTIFACTS/tray-menu.png"
e2e_menu_keys t
e2e_wait_exit 10000
e2e_expect_eq "exit code" 0 "$E2E_EXIT"
# Gone for good: no window of class TForm1 is left.
if e2e_probe window TForm1 >/dev/null; then e2e_fail "window still there after Terminate"; fi

e2e_pass
