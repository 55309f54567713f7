#!/usr/bin/env bash
# medrec-batch end to end: import a data set, start medrec-server on an ephemeral loopback
# port, reprint a whole visit and single records, and check the print history it leaves.
set -euo pipefail
server=$1 batch=$2 data=$3 fields=$4 demo=${5:-}
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$server" import --db "$work/db" "$data" >/dev/null
"$server" --db "$work/db" --listen 127.0.0.1:0 --fields "$fields" >"$work/server.log" 2>&1 &
pid=$!
for _ in $(seq 100); do grep -q '^listening' "$work/server.log" && break; sleep 0.1; done
port=$(sed -n 's/^listening [0-9.]*:\([0-9]*\).*/\1/p' "$work/server.log")
[ -n "$port" ] || fail "server did not start"
printf 'HOST = 127.0.0.1\nPORT = %s\nFIELD_TABLE = %s\n' "$port" "$fields" >"$work/His.env"
export MEDREC_ENV_FILE="$work/His.env" MEDREC_PRINT_TO="pdf:$work/pdf" MEDREC_BATCH_USER=COURT
unset MEDREC_LAYOUT_RECORDS # the records go beside the PDFs
mkdir -p "$work/pdf"
rows() { "$server" history --db "$work/db" | tail -n +2 | wc -l; }

# The visit holds three operation records; the third has no content and prints nothing.
set +e
"$batch" 4321 --visit 20261102 --all 2>"$work/all.err"
rc=$?
set -e
[ "$rc" -eq 1 ] || fail "--all exit $rc, expected 1 (one record has nothing to print)"
grep -q '2 printed, 1 not printed' "$work/all.err" || { cat "$work/all.err" >&2; fail "--all summary"; }
[ "$(ls "$work/pdf" | grep -c '\.pdf$')" -eq 2 ] || fail "expected 2 PDF files"
[ "$(ls "$work/pdf" | grep -c '\.layout\.txt$')" -eq 2 ] || fail "expected a layout record beside each PDF"
[ "$(rows)" -eq 2 ] || fail "expected 2 history rows after --all, got $(rows)"
"$server" history --db "$work/db" | grep -q $'\t00004321\t20261105\t2\tempty\tempty\tMDOPRECT\tCOURT\t' ||
  fail "history row of record 2"

"$batch" 4321 --kind MDOPRECT --record 1 2>"$work/one.err" || { cat "$work/one.err" >&2; fail "--record 1"; }
[ "$(rows)" -eq 3 ] || fail "expected 3 history rows"

set +e
"$batch" 4321 --kind MDNOSUCH 2>/dev/null; rc=$?
"$batch" 99999999 2>/dev/null; rc2=$?
"$batch" 2>/dev/null; rc3=$?
set -e
[ "$rc" -eq 1 ] && [ "$rc2" -eq 1 ] && [ "$rc3" -eq 2 ] || fail "exit codes $rc $rc2 $rc3"
[ "$(rows)" -eq 3 ] || fail "failed runs wrote history"

# A demo admission: its operation records and its general nursing sheet print with a
# history row each; the kinds whose forms are not built yet are reported, not printed, and
# write nothing.
if [ -n "$demo" ]; then
  kill "$pid"; wait "$pid" 2>/dev/null || true
  rm -f "$work/db" "$work/db-wal" "$work/db-shm"
  "$server" import --db "$work/db" "$demo" >/dev/null
  : >"$work/server.log"
  "$server" --db "$work/db" --listen 127.0.0.1:"$port" --fields "$fields" >"$work/server.log" 2>&1 &
  pid=$!
  for _ in $(seq 100); do grep -q '^listening' "$work/server.log" && break; sleep 0.1; done
  set +e
  "$batch" 1302 --visit 20160905 --all 2>"$work/demo.err"
  set -e
  printed=$(sed -n 's/^medrec-batch: \([0-9]*\) printed.*/\1/p' "$work/demo.err")
  [ "${printed:-0}" -ge 3 ] || { cat "$work/demo.err" >&2; fail "demo admission"; }
  [ "$(rows)" -eq "$printed" ] || fail "expected $printed history rows for the demo admission, got $(rows)"
  [ "$("$server" history --db "$work/db" | tail -n +2 | cut -f8 | grep -c '^MDOPRECT$')" -eq 2 ] ||
    fail "history rows of the two operation records"
  [ "$("$server" history --db "$work/db" | tail -n +2 | cut -f8 | grep -c '^MDADINFT$')" -eq 1 ] ||
    fail "history row of the general nursing sheet"
  [ "$("$server" history --db "$work/db" | tail -n +2 | cut -f8 | grep -c '^MDVITALT$')" -eq 1 ] ||
    fail "history row of the vital-sign sheet"
  [ "$("$server" history --db "$work/db" | tail -n +2 | cut -f8 | grep -c '^MDIOCHKT_WE$')" -eq 1 ] ||
    fail "history row of the body-measurement sheet"

  # The emergency nursing information sheet prints, with its discharge type named, and writes
  # no history row.
  before=$(rows)
  "$batch" 56789 --visit 202207021940 --kind MDERINFT 2>"$work/er.err" ||
    { cat "$work/er.err" >&2; fail "emergency nursing information sheet"; }
  er=$(ls "$work/pdf" | grep '_MDERINFT_00056789\.pdf$' | head -n 1)
  [ -n "$er" ] || fail "no PDF of the emergency nursing information sheet"
  pdftotext -enc UTF-8 "$work/pdf/$er" - | tr -d ' \n' | grep -q '【퇴원형태】:병실입원【○임산부】' ||
    fail "the emergency nursing information sheet's text"
  [ "$(rows)" -eq "$before" ] || fail "the emergency nursing information sheet wrote a history row"
fi
echo "medrec-batch: all checks passed"
