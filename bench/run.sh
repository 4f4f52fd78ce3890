#!/usr/bin/env bash
# Benchmarks against reference tools. Builds the Linux tree, then measures:
#   - counter-mode throughput of both cipher paths and OpenSSL (bench/ctr_bench)
#   - brindlock-cli encrypt of a 256 MiB file against cp and openssl enc
#   - brindlock-cli erase --passes 5 against shred -n 5 -u, per byte written
#   - peak resident memory of the encrypt run against the file size
# and prints four ratios, each on its own line, as the last lines of output.
# These are measurements: nothing here fails on a slow figure.
#
# Environment: BRINDLOCK_BENCH_DIR (work folder, default build/bench-work; it
# needs about three times BRINDLOCK_BENCH_MIB free), BRINDLOCK_BENCH_MIB (file
# size in MiB, default 256), BRINDLOCK_BENCH_RUNS (runs per tool, best is kept,
# default 5), BRINDLOCK_CLI (the brindlock-cli to measure, default the one
# built here).
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"

ensure_packages "${BRINDLOCK_PACKAGES[@]}"

mib="${BRINDLOCK_BENCH_MIB:-256}"
runs="${BRINDLOCK_BENCH_RUNS:-5}"
work="${BRINDLOCK_BENCH_DIR:-$BRINDLOCK_BUILD/bench-work}"
size=$((mib * 1024 * 1024))

echo "== build: Linux"
configure_and_build linux >/dev/null
bench="$BRINDLOCK_BUILD/linux/bench/ctr_bench"
cli="${BRINDLOCK_CLI:-$BRINDLOCK_BUILD/linux/brindlock-cli}"

echo "== machine"
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
grep -m1 '^model name' /proc/cpuinfo || true
echo "cores: $(nproc); AES instructions: $(grep -qw aes /proc/cpuinfo && echo yes || echo no)"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "unavailable" }'; }

# Wall seconds of one run of a command (3 decimals); its output is dropped.
# GNU time records CPU seconds (user + system) and the peak resident set (KiB)
# in $work/rss.
wall() {
  local TIMEFORMAT=%3R
  { time /usr/bin/time -f "%U %S %M" -o "$work/rss" "$@" >/dev/null 2>&1; } 2>&1
}

# best_of RUNS PREPARE COMMAND...: runs PREPARE then times COMMAND, RUNS times;
# prints the shortest wall time. Leaves the largest peak RSS in $work/peak_rss
# and the smallest CPU time in $work/cpu: on a busy machine the wall times
# include waiting for a core, the CPU times do not.
best_of() {
  local n="$1" prepare="$2" best="" t peak=0 rss cpu best_cpu=""
  shift 2
  for _ in $(seq "$n"); do
    $prepare
    t="$(wall "$@")" || { echo "failed: $*" >&2; return 1; }
    read -r cpu rss < <(tail -n1 "$work/rss" | awk '{ printf "%.2f %d\n", $1 + $2, $3 }')
    [ "$rss" -gt "$peak" ] && peak="$rss"
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best="$t"; fi
    if [ -z "$best_cpu" ] || awk -v t="$cpu" -v b="$best_cpu" 'BEGIN { exit !(t < b) }'; then best_cpu="$cpu"; fi
  done
  echo "$peak" >"$work/peak_rss"
  echo "$best_cpu" >"$work/cpu"
  echo "$best"
}

echo "== counter mode: bytes per second of CPU time (bench/ctr_bench)"
csv="$BRINDLOCK_BUILD/linux/bench/ctr_bench.csv"
"$bench" --benchmark_min_time=0.5 --benchmark_out="$csv" --benchmark_out_format=csv
# CSV columns: name,iterations,real_time,cpu_time,time_unit,bytes_per_second,...
rate() { awk -F, -v want="\"$1\"" '$1 == want && $6 != "" { print $6 }' "$csv"; }
aesni_rate="$(rate BM_CtrAesNi/1048576)"
openssl_rate="$(rate BM_OpenSslCtr/1048576)"
portable_rate="$(rate BM_CtrPortable/1048576)"
ctr_vs_openssl="$( [ -n "$aesni_rate" ] && ratio "$aesni_rate" "$openssl_rate" || echo "unavailable (no AES-NI)")"
echo "portable_vs_openssl=$(ratio "$portable_rate" "$openssl_rate")"

encrypt_vs_cp=unavailable
wipe_vs_shred=unavailable
rss_over_size=unavailable
if [ -x "$cli" ]; then
  rm -rf "$work"
  mkdir -p "$work"
  trap 'rm -rf "$work"' EXIT
  plain="$work/plain.bin"
  echo "== files: $mib MiB in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }'))"
  head -c "$size" /dev/urandom >"$plain"
  cat "$plain" >/dev/null # warm the page cache

  clear_copies() { rm -f "$work/copy.bin" "$work/\$plain.bin" "$work/openssl.bin"; }
  export BRINDLOCK_PASSWORD=bench-password
  # A reflink would share blocks instead of copying them; the reference is a real copy.
  cp_s="$(best_of "$runs" clear_copies cp --reflink=never "$plain" "$work/copy.bin")"
  cp_cpu="$(cat "$work/cpu")"
  # brindlock-cli flushes its result to the device before it reports success;
  # cp does not. A cp followed by a sync of its copy shows how much of the
  # difference is that flush.
  cp_sync_s="$(best_of "$runs" clear_copies sh -c 'cp --reflink=never "$1" "$2" && sync "$2"' cp "$plain" "$work/copy.bin")"
  enc_s="$(best_of "$runs" clear_copies "$cli" encrypt "$plain")"
  enc_peak_kib="$(cat "$work/peak_rss")"
  enc_cpu="$(cat "$work/cpu")"
  [ "$(stat -c %s "$work/\$plain.bin")" -eq "$size" ] || echo "warning: encrypted copy has the wrong size" >&2
  ossl_s="$(best_of "$runs" clear_copies openssl enc -aes-128-ctr -K 2b7e151628aed2a6abf7158809cf4f3c \
    -iv f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff -in "$plain" -out "$work/openssl.bin")"
  ossl_cpu="$(cat "$work/cpu")"
  clear_copies
  echo "cp ${cp_s}s  cp+sync ${cp_sync_s}s  brindlock-cli encrypt ${enc_s}s  openssl enc ${ossl_s}s (best of $runs)"
  echo "CPU seconds (user + system): cp $cp_cpu  brindlock-cli encrypt $enc_cpu  openssl enc $ossl_cpu"
  echo "encrypt_vs_openssl_enc=$(ratio "$enc_s" "$ossl_s")"
  echo "encrypt_vs_cp_then_sync=$(ratio "$enc_s" "$cp_sync_s")"
  encrypt_vs_cp="$(ratio "$enc_s" "$cp_s")"
  rss_over_size="$(ratio "$((enc_peak_kib * 1024))" "$size")"
  echo "encrypt peak RSS ${enc_peak_kib} KiB"

  # Erase grows the file by a tenth and overwrites that in every pass; shred
  # overwrites the size itself. Compare seconds per byte written.
  victim="$work/victim.bin"
  make_victim() { cp --reflink=never "$plain" "$victim"; sync "$victim"; }
  wipe_runs=$(((runs + 1) / 2))
  erase_s="$(best_of "$wipe_runs" make_victim "$cli" erase --passes 5 "$victim")"
  erase_cpu="$(cat "$work/cpu")"
  [ ! -e "$victim" ] || echo "warning: brindlock-cli erase left the file" >&2
  shred_s="$(best_of "$wipe_runs" make_victim shred -n 5 -u "$victim")"
  shred_cpu="$(cat "$work/cpu")"
  [ ! -e "$victim" ] || echo "warning: shred left the file" >&2
  erase_bytes=$((5 * (size + size / 10)))
  shred_bytes=$((5 * size))
  echo "brindlock-cli erase ${erase_s}s for $erase_bytes bytes  shred ${shred_s}s for $shred_bytes bytes (best of $wipe_runs)"
  echo "CPU seconds (user + system): brindlock-cli erase $erase_cpu  shred $shred_cpu"
  wipe_vs_shred="$(awk -v e="$erase_s" -v eb="$erase_bytes" -v s="$shred_s" -v sb="$shred_bytes" \
    'BEGIN { if (s > 0) printf "%.3f", (e / eb) / (s / sb); else print "unavailable" }')"
else
  echo "brindlock-cli is not built in this tree: its ratios are unavailable"
fi

echo "ctr_vs_openssl=$ctr_vs_openssl"
echo "encrypt_vs_cp=$encrypt_vs_cp"
echo "wipe_vs_shred=$wipe_vs_shred"
echo "encrypt_peak_rss_over_size=$rss_over_size"
