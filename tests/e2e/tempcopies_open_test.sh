#!/usr/bin/env bash
# Opening an encrypted file for viewing, end to end: a second start with the
# path of "$report.bltest" brings up the password panel; the typed password
# decrypts it into a hidden "_Brindlock.bltest" beside it, which the shell
# opens with the extension's viewer (it sees the plain bytes). The copy is
# listed in Brindlock.del beside the program with a due time 30 s ahead, and
# the timed wipe removes the copy and the list file 30 to 40 s after the open.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tempcopies_lib.sh"
e2e_init tempcopies_open

e2e_start
tc_prepare
tc_open_by_second_start

# The copy: the plain bytes, hidden. Wine keeps the hidden bit of a file in an
# extended attribute but drops the temporary bit, so "temporary" is reported,
# not required.
cmp -s "$TC_COPY" "$TC_PLAIN" || e2e_fail "the copy does not hold the plain bytes"
attributes="$(e2e_probe attributes "$TC_COPY_WIN")" || e2e_fail "probe cannot see the copy: $attributes"
e2e_log "copy $attributes"
[[ " $attributes " == *" hidden "* ]] || e2e_fail "the copy is not hidden: $attributes"
[[ " $attributes " == *" temporary "* ]] || e2e_log "the temporary bit is not kept here (Wine drops it)"
cmp -s "$TC_ENC" "$E2E_DIR/plain/encrypted.before" || e2e_fail "the encrypted file was changed"
[ -e "$E2E_DIR/My Docs/report.$TC_EXT" ] && e2e_fail "the open wrote the plain name too"

# Due 30 s after it was registered. TC_SCHEDULED is when the test first saw
# the list file, a little after the program wrote it.
due="$(tc_due_epoch)"
ahead="$(awk -v d="$due" -v s="$TC_SCHEDULED" 'BEGIN { printf "%.1f", d - s }')"
e2e_log "due ${ahead} s after the list file was seen"
awk -v a="$ahead" 'BEGIN { exit !(a >= 24 && a <= 31) }' || e2e_fail "due time ${ahead} s ahead, not 30"

# The check runs every 10 s: the copy goes at the first tick at or after its
# due time, together with the list file.
e2e_wait_while 50000 test -e "$TC_COPY" || true
gone="$(tc_seconds_since "$TC_SCHEDULED")"
[ -e "$TC_COPY" ] && e2e_fail "the copy is still there ${gone} s after the open"
e2e_log "copy wiped ${gone} s after the open"
awk -v g="$gone" 'BEGIN { exit !(g >= 25 && g <= 43) }' || e2e_fail "copy wiped ${gone} s after the open, not 30 to 40"
tc_expect_wiped_clean

e2e_kill
e2e_pass
