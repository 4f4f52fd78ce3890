#!/usr/bin/env bash
# Fifty second starts in bursts, each erasing a file of its own: all fifty
# commands reach the running instance, all fifty files are wiped, and the
# hand-off log holds fifty intact blocks, one per start.
# Erase needs no password, so no panel holds the job up.
source "$(dirname "$0")/lib.sh"
e2e_init load_handoff

count="${BRINDLOCK_LOAD_STARTS:-50}"
burst="${BRINDLOCK_LOAD_BURST:-10}"
files="$E2E_DIR/files"
mkdir -p "$files"
for i in $(seq -w 1 "$count"); do
  head -c 4096 /dev/urandom >"$files/f$i.bin"
done

e2e_start
e2e_wait_window 15000 >/dev/null
e2e_tray_wait 10000

started=$(date +%s)
failed=0
for first in $(seq 1 "$burst" "$count"); do
  pids=()
  for i in $(seq "$first" $((first + burst - 1))); do
    [ "$i" -le "$count" ] || break
    n=$(printf "%0${#count}d" "$i")
    e2e_second_start /erase "$(e2e_winpath "$files/f$n.bin")" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
done
e2e_log "$count second starts in bursts of $burst took $(($(date +%s) - started)) s"
[ "$failed" -eq 0 ] || e2e_fail "$failed second starts ended with a non-zero exit code"

# Every file wiped: the jobs run one file per tick of the batch timer.
for _ in $(seq 600); do
  left=$(find "$files" -type f | wc -l)
  [ "$left" -eq 0 ] && break
  sleep 0.1
done
left=$(find "$files" -type f | wc -l)
[ "$left" -eq 0 ] || e2e_fail "$left of $count files still there: $(find "$files" -type f -printf '%f ' | head -c 300)"
e2e_running || e2e_fail "the running instance ended"

# The log: exactly the blocks of the starts, each whole and CR LF ended.
log="$E2E_DIR/debug_messenger.txt"
[ -f "$log" ] || e2e_fail "no hand-off log"
cp "$log" "$E2E_ARTIFACTS/"
lines=$(wc -l <"$log")
crlf=$(grep -c $'\r$' "$log" || true)
e2e_expect_eq "lines ended by CR LF" "$lines" "$crlf"
report=$(tr -d '\r' <"$log" | awk '
  function broken(why) { printf "block %d line %d: %s\n", blocks, NR, why; bad++ }
  state == 0 { if ($0 != "=== MESSENGER INSTANCE ===") broken("expected the header, got [" $0 "]"); else { blocks++; state = 1 }; next }
  state == 1 { if ($0 != "Raw ParamCount = 2") broken("expected 2 arguments, got [" $0 "]"); state = 2; param = 0; next }
  state == 2 {
    if (param == 0 && $0 !~ /^ParamStr\(0\) = \[.*Brindlock\.exe\]$/) broken("program path [" $0 "]")
    if (param == 1 && $0 != "ParamStr(1) = [/erase]") broken("switch [" $0 "]")
    if (param == 2) { if ($0 ~ /^ParamStr\(2\) = \[.*\]$/) paths[$0]++; else broken("path [" $0 "]") }
    if (++param == 3) state = 3
    next
  }
  state == 3 { if ($0 != "===========================") broken("expected the footer, got [" $0 "]"); state = 0; next }
  END {
    if (state != 0) broken("log ends inside a block")
    distinct = 0; for (p in paths) { distinct++; if (paths[p] != 1) broken(p " logged " paths[p] " times") }
    printf "blocks=%d distinct=%d bad=%d\n", blocks, distinct, bad
  }')
e2e_log "$report"
e2e_expect_eq "hand-off log" "blocks=$count distinct=$count bad=0" "$(tail -1 <<<"$report")"
e2e_pass
