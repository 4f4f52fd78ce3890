#!/usr/bin/env bash
# expect_report.sh PROGRAM FAULT: runs the canary and passes only when it
# failed with the sanitizer's report naming that fault.
set -u
program="$1"
fault="$2"
case "$fault" in
  heap-buffer-overflow) pattern="AddressSanitizer: heap-buffer-overflow" ;;
  signed-integer-overflow) pattern="runtime error: signed integer overflow" ;;
  memory-leak) pattern="LeakSanitizer: detected memory leaks" ;;
  *) echo "unknown fault $fault" >&2; exit 2 ;;
esac
output="$("$program" "$fault" 2>&1)"
status=$?
printf '%s\n' "$output"
if [ "$status" -eq 0 ]; then
  echo "FAIL: the canary exited 0 after a $fault" >&2
  exit 1
fi
if ! grep -qF "$pattern" <<<"$output"; then
  echo "FAIL: no report \"$pattern\" (exit $status)" >&2
  exit 1
fi
echo "ok: exit $status with \"$pattern\""
