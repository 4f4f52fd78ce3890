#!/usr/bin/env bash
# The main window of a first start: registered under the class name "TForm1"
# (the name second starts look for), captioned "Norvalde Brindlock", a client
# area of 416 x 180; a screenshot of it is kept as an artifact.
source "$(dirname "$0")/lib.sh"
e2e_init main_window

e2e_start
line="$(e2e_wait_window 15000)"
e2e_log "$line"
e2e_expect_eq "caption" "Norvalde Brindlock" "${line#*caption=}"
case "$line" in *"client=416x180 "*) ;; *) e2e_fail "client area is not 416x180: $line" ;; esac

e2e_show_window
e2e_screenshot main-window.png

e2e_pass
