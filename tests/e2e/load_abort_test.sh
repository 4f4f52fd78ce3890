#!/usr/bin/env bash
# An encryption of a large file aborted with Escape while it runs: nothing
# partial is left beside the file (no "$" result, no temporary file), the
# file itself is unchanged, and the "$" file that stood there before is
# intact. Then the same job once more without Escape replaces the "$" file,
# which shows that the first one was stopped by the abort and not by some
# failure that would leave the same folder. BRINDLOCK_LOAD_ABORT_MB sets the
# size (default 500).
#
# The file is held in memory and transformed as one region, with a progress
# report before and after it; an abort asked for in between takes effect at
# the report after the region, when the result is complete but not yet in
# place.
source "$(dirname "$0")/lib.sh"
e2e_init load_abort

mb="${BRINDLOCK_LOAD_ABORT_MB:-500}"
work="$E2E_DIR/big"
mkdir -p "$work"
# Random head and tail around a sparse middle: quick to make, real to read.
head -c 1048576 /dev/urandom >"$work/big.bin"
truncate -s "$((mb * 1048576 - 1048576))" "$work/big.bin"
head -c 1048576 /dev/urandom >>"$work/big.bin"
source_sum=$(md5sum <"$work/big.bin")
printf 'the encrypted file as it was before\r\n' >"$work/\$big.bin"
old_sum=$(md5sum <"$work/\$big.bin")

e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 10000
sleep 0.5

# The command of a second start; with no password held the panel comes up.
e2e_second_start /encrypt "$(e2e_winpath "$work/big.bin")" || e2e_fail "second start failed"
e2e_wait_visible 10000
xdotool windowfocus --sync "$E2E_XWINDOW" 2>/dev/null || xdotool windowfocus "$E2E_XWINDOW"
sleep 0.3
xdotool type --delay 50 "secret"
xdotool key Return
started=$(date +%s%N)

# Escape as soon as the result is being written under its temporary name.
seen=""
for _ in $(seq 300); do
  tmp=$(find "$work" -maxdepth 1 -type f ! -name 'big.bin' ! -name '$big.bin' | head -1)
  if [ -n "$tmp" ]; then
    seen="$(basename "$tmp") at $(stat -c %s "$tmp" 2>/dev/null || echo '?') bytes"
    break
  fi
  sleep 0.05
done
[ -n "$seen" ] || e2e_fail "the encryption did not start (no result file appeared)"
[ "$(stat -c %s "$tmp" 2>/dev/null || echo 0)" -lt $((mb * 1048576)) ] ||
  e2e_fail "the result was complete before Escape could be sent"
xdotool windowfocus "$E2E_XWINDOW" 2>/dev/null || true
xdotool key Escape
e2e_log "Escape sent while writing $seen"

# The operation returns at its next progress report and cleans up.
for _ in $(seq 1200); do
  extra=$(find "$work" -maxdepth 1 -type f ! -name 'big.bin' ! -name '$big.bin' | wc -l)
  [ "$extra" -eq 0 ] && break
  sleep 0.05
done
sleep 1
e2e_log "job of $mb MB ended $(( ($(date +%s%N) - started) / 1000000 )) ms after the password"
e2e_running || e2e_fail "the program ended"
e2e_expect_eq "files left" "\$big.bin big.bin" "$(cd "$work" && ls -A | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
e2e_expect_eq "the pre-existing \$ file" "$old_sum" "$(md5sum <"$work/\$big.bin")"
e2e_expect_eq "the source" "$source_sum" "$(md5sum <"$work/big.bin")"

# The same job without Escape: the password is still held for the session.
started=$(date +%s%N)
e2e_second_start /encrypt "$(e2e_winpath "$work/big.bin")" || e2e_fail "second start failed"
for _ in $(seq 900); do
  size=$(stat -c %s "$work/\$big.bin")
  extra=$(find "$work" -maxdepth 1 -type f ! -name 'big.bin' ! -name '$big.bin' | wc -l)
  [ "$size" -eq $((mb * 1048576)) ] && [ "$extra" -eq 0 ] && break
  sleep 0.1
done
e2e_log "the job without Escape took $(( ($(date +%s%N) - started) / 1000000 )) ms"
e2e_expect_eq "size of the new \$ file" "$((mb * 1048576))" "$(stat -c %s "$work/\$big.bin")"
[ "$(md5sum <"$work/\$big.bin")" != "$old_sum" ] || e2e_fail "the \$ file was not replaced"
e2e_expect_eq "files left" "\$big.bin big.bin" "$(cd "$work" && ls -A | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
# Encrypted, not copied: the random head differs from the plain one.
[ "$(head -c 1048576 "$work/\$big.bin" | md5sum)" != "$(head -c 1048576 "$work/big.bin" | md5sum)" ] ||
  e2e_fail "the \$ file holds the plain bytes"
e2e_pass
