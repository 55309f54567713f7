#!/usr/bin/env bash
# A system that cannot convert CP949 (iconv_open fails, here through an LD_PRELOAD shim):
# the client and the service host refuse to start, saying why, instead of sending and storing
# '?' for every Korean character.
set -euo pipefail
batch=$1 shim=$2 server=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
err=$(mktemp)
trap 'rm -f "$err"' EXIT
# A sanitizer build wants its runtime first; the shim only replaces one libc call.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
export MEDREC_ENV_FILE=/nonexistent/His.env QT_QPA_PLATFORM=offscreen
set +e
LD_PRELOAD=$shim "$batch" 00001234 2>"$err"
rc=$?
set -e
[ "$rc" -eq 2 ] || fail "medrec-batch exit $rc, expected 2: $(head -c 500 "$err")"
grep -q 'cannot convert from UTF-8 to CP949' "$err" || fail "no converter message: $(head -c 500 "$err")"
set +e
LD_PRELOAD=$shim "$server" --listen 127.0.0.1:0 --db /nonexistent/medrec.db 2>"$err"
rc=$?
set -e
[ "$rc" -eq 1 ] || fail "medrec-server exit $rc, expected 1: $(head -c 500 "$err")"
grep -q 'cannot convert from UTF-8 to CP949' "$err" || fail "no converter message from the server: $(head -c 500 "$err")"
# Without the shim the same command gets past the check and fails only at the session.
set +e
"$batch" 00001234 2>"$err"
set -e
if grep -q 'cannot convert' "$err"; then fail "the converter check fails on this system too"; fi
echo "ok"
