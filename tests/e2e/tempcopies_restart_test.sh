#!/usr/bin/env bash
# A viewing copy opened from the first start's own command line and still
# pending when the program is terminated survives the exit together with its
# line in Brindlock.del; the next start reads the list and, the due time having
# passed meanwhile, wipes the copy at the first check about 10 s after
# start-up, without showing its window, and deletes the list file. A line
# naming a file that is no viewing copy leaves that file alone.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tempcopies_lib.sh"
e2e_init tempcopies_restart

tc_prepare
e2e_start "$TC_ENC_WIN"
tc_give_password
due="$(tc_due_epoch)"
cp "$TC_LIST" "$E2E_ARTIFACTS/list-before-exit"

# Terminate with the window's Terminate button (47,144, 34 x 33), the window
# brought up by a click on the tray icon as a user does. (The tray menu's
# access key needs the X focus on a window of the program, which Wine does not
# always give it in time.)
e2e_tray_click 1
e2e_wait_visible 15000
e2e_click_client 64 160
e2e_wait_exit 20000
e2e_expect_eq "exit code" 0 "$E2E_EXIT"
[ -e "$TC_COPY" ] || e2e_fail "the copy was removed at exit"
cmp -s "$TC_LIST" "$E2E_ARTIFACTS/list-before-exit" || e2e_fail "the list file was changed at exit"
e2e_probe attributes "$TC_COPY_WIN" | grep -q ' hidden' || e2e_fail "the copy lost its hidden bit"

# A line naming some other file, as a damaged or tampered list might hold, is
# passed over: that file must survive the next start.
printf '%s|0\r\n' "$(e2e_winpath "$TC_PLAIN")" >>"$TC_LIST"

# Stay stopped until the copy is overdue, so the next start wipes it at its
# first check rather than waiting for the due time.
while awk -v d="$due" -v n="$(tc_now)" 'BEGIN { exit !(n < d + 1) }'; do sleep 0.2; done

e2e_start
e2e_wait_window 20000 >/dev/null
started="$(tc_now)"
[ -e "$TC_COPY" ] || e2e_fail "the copy was wiped while the window was being created"
e2e_wait_while 35000 test -e "$TC_COPY" || true
gone="$(tc_seconds_since "$started")"
[ -e "$TC_COPY" ] && e2e_fail "the copy is still there ${gone} s after the restart"
e2e_log "copy wiped ${gone} s after the window was created"
awk -v g="$gone" 'BEGIN { exit !(g >= 5 && g <= 25) }' || e2e_fail "copy wiped ${gone} s after the restart, not about 10"
[ -z "$(e2e_find_xwindow || true)" ] || e2e_fail "the window was shown for the wipe"
tc_expect_wiped_clean
[ -e "$TC_PLAIN" ] || e2e_fail "a listed file that is no viewing copy was erased"

e2e_kill
e2e_pass
