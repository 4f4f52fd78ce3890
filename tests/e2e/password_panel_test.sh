#!/usr/bin/env bash
# The window's Encrypt Files button runs the system's open dialog titled
# "Encrypt Files"; the chosen file makes a job that needs a password, so the
# password panel comes up with the focus in its field. What the user types
# there is the password "&Ok" takes: the job then runs to its end (caption
# "Brindlock") and the session controls are enabled.
source "$(dirname "$0")/lib.sh"
e2e_init password_panel

echo "plain text" >"$E2E_DIR/a.txt"
e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 5000
sleep 0.5
e2e_show_window

# Encrypt Files: 88,64, 81 x 75.
e2e_click_client 128 100
dialog=""
for _ in $(seq 50); do
  dialog=$(xdotool search --onlyvisible --name '^Encrypt Files$' 2>/dev/null | head -1 || true)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || e2e_fail "no open dialog titled Encrypt Files"
xdotool windowfocus "$dialog" 2>/dev/null || true
sleep 0.5
xdotool type --delay 20 "$(e2e_winpath "$E2E_DIR/a.txt")"
xdotool key Return

panel_up() { e2e_probe children TForm1 | grep -q "class=TPanel .*rect=8,8,401,129 visible=1"; }
for _ in $(seq 50); do
  panel_up && break
  sleep 0.1
done
panel_up || e2e_fail "the password panel did not come up:
$(e2e_probe children TForm1)"
e2e_probe children TForm1 | grep -qi "class=Edit .*rect=120,56,217,21 visible=1" || e2e_fail "no password field:
$(e2e_probe children TForm1)"
e2e_wait_visible 5000
e2e_screenshot password-panel.png >/dev/null

# The focus is in the field: give the window the X keyboard focus (there is no
# window manager to do it), type, then "&Ok" (200,144, 100 x 33).
xdotool windowfocus "$E2E_XWINDOW" 2>/dev/null || true
sleep 0.3
xdotool type --delay 20 "secret"
e2e_screenshot typed.png >/dev/null
e2e_click_client 250 160
caption=""
deadline=$((SECONDS + 10))
while [ "$SECONDS" -lt "$deadline" ]; do
  caption="$(e2e_probe window TForm1 | sed -n 's/.*caption=//p')"
  [ "$caption" == "Brindlock" ] && break
  sleep 0.2
done
[ "$caption" == "Brindlock" ] || { e2e_wait_visible 1000; e2e_screenshot after-ok.png; e2e_probe children TForm1; }
e2e_expect_eq "caption after the job" "Brindlock" "$caption"
e2e_probe children TForm1 | grep -q "enabled=1 rect=327,64,80,75 visible=1 text=Clear Session" ||
  e2e_fail "Clear Session is not enabled while a password is held:
$(e2e_probe children TForm1)"

e2e_kill
e2e_pass
