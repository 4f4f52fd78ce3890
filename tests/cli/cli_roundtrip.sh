#!/usr/bin/env bash
# End-to-end check of brindlock-cli: encrypt, decrypt and erase real files,
# the encrypted bytes compared with openssl's AES-128-CTR under the key and
# counter derived here in shell arithmetic from "<name>|<password>".
# usage: cli_roundtrip.sh CLI [RUNNER...]   (RUNNER e.g. wine-run.sh PREFIX)
set -euo pipefail
cli="$1"
shift
runner=("$@")
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
cli() { "${runner[@]}" "$cli" "$@"; }

# Key and initial counter of a key text, as hex.
derive() {
    local text="$1" i c pos key=() ctr=()
    for i in $(seq 0 15); do key[i]=$i; ctr[i]=$((i ^ 0xF0)); done
    for ((i = 1; i <= ${#text}; i++)); do
        printf -v c '%d' "'${text:i-1:1}"
        pos=$((i % 16))
        key[pos]=$(((key[pos] * 33 % 256) ^ c))
        ctr[pos]=$(((ctr[pos] * 17 + (c ^ 0x5A)) % 256))
    done
    printf '%02x' "${key[@]}"
    printf ' '
    printf '%02x' "${ctr[@]}"
}

mkdir sub
seq 1 40000 >sub/known.txt
cp sub/known.txt original.txt
password="e2e pass"

# 1. encrypt with the password from the environment; bytes as openssl makes them
BRINDLOCK_PASSWORD="$password" cli encrypt sub/known.txt || fail "encrypt exit $?"
read -r key counter <<<"$(derive "known.txt|$password")"
openssl enc -aes-128-ctr -K "$key" -iv "$counter" -in original.txt -out expected.bin
cmp 'sub/$known.txt' expected.bin || fail "encrypted bytes differ from openssl"
cmp sub/known.txt original.txt || fail "plain file changed"

# 2. decrypt with the first line of a password file (CRLF line end)
rm sub/known.txt
printf '%s\r\nsecond line\n' "$password" >pw.txt
cli decrypt --password-file pw.txt 'sub/$known.txt' || fail "decrypt exit $?"
cmp sub/known.txt original.txt || fail "round trip differs"

# 3. a failing file among good ones: exit 1, one line naming it, the rest done
: >empty.txt
cp original.txt other.txt
set +e
BRINDLOCK_PASSWORD="$password" cli encrypt missing.txt empty.txt other.txt 2>err.txt
status=$?
set -e
[ "$status" -eq 1 ] || fail "mixed run exit $status"
grep -q 'missing.txt' err.txt || fail "no line for missing.txt: $(cat err.txt)"
grep -q 'empty.txt' err.txt || fail "no line for empty.txt: $(cat err.txt)"
[ "$(grep -c . err.txt)" -eq 2 ] || fail "expected two lines: $(cat err.txt)"
[ -e '$empty.txt' ] && fail "an empty source made a file"
[ -s '$other.txt' ] || fail "the good file was not encrypted"
# a file the command does not apply to is skipped, and the run is not a success
set +e
BRINDLOCK_PASSWORD="$password" cli decrypt other.txt 2>err.txt
status=$?
set -e
[ "$status" -eq 1 ] || fail "a skipped file gave exit $status"
grep -q 'other.txt.*skipped' err.txt || fail "no line for the skipped file: $(cat err.txt)"
cmp other.txt original.txt || fail "the skipped file changed"

# 4. no password: refused with exit 2, nothing written
set +e
env -u BRINDLOCK_PASSWORD "${runner[@]}" "$cli" decrypt '$other.txt' </dev/null 2>err.txt
status=$?
set -e
[ "$status" -eq 2 ] || fail "no-password exit $status"
grep -q 'password' err.txt || fail "no reason given: $(cat err.txt)"
set +e
cli encrypt --password secret other.txt 2>/dev/null
status=$?
set -e
[ "$status" -eq 2 ] || fail "password argument accepted"

# 5. erase
cli erase --passes 2 other.txt sub/known.txt || fail "erase exit $?"
[ -e other.txt ] && fail "other.txt still there"
[ -e sub/known.txt ] && fail "sub/known.txt still there"

# 6. the no-echo prompt on a terminal (native only: needs a pseudo-terminal)
if [ ${#runner[@]} -eq 0 ] && command -v script >/dev/null; then
    rm -f other.txt
    out="$({ sleep 1; echo "$password"; } | env -u BRINDLOCK_PASSWORD script -qec "'$cli' decrypt '\$other.txt'" /dev/null)"
    cmp other.txt original.txt || fail "prompted decrypt differs"
    case "$out" in
        *"Password:"*) ;;
        *) fail "no prompt: $out" ;;
    esac
    case "$out" in
        *"$password"*) fail "the password was echoed: $out" ;;
    esac
fi
echo "brindlock-cli round trip passed"
