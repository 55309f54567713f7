#!/usr/bin/env bash
# A site served over TLS end to end: the site's CA made with medrec-site-ca, medrec-server
# serving TLS with it, a workstation printing the demo patient's record with medrec-batch
# through a relay that keeps every byte it passes. The print and its history row carry
# the workstation's certificate, the access audit lists exactly what the print read and
# wrote, and the relayed bytes hold neither the patient's name (CP949) nor the
# registration number; through the same relay without TLS they hold both.
set -euo pipefail
server=$1 batch=$2 relay=$3 siteca=$4 data=$5 fields=$6
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# start_server LOG ARGS...: medrec-server in the background; its port in $port.
start_server() {
  local log=$1
  shift
  "$server" --db "$work/db" --listen 127.0.0.1:0 --fields "$fields" "$@" >"$log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do grep -q '^listening' "$log" && break; sleep 0.1; done
  port=$(sed -n 's/^listening [0-9.]*:\([0-9]*\).*/\1/p' "$log")
  [ -n "$port" ] || { cat "$log" >&2; fail "server did not start"; }
}

# start_relay CAPTURE: the relay to $port; its own port in $relay_port.
start_relay() {
  "$relay" "$port" "$1" >"$work/relay.out" &
  pids+=($!)
  for _ in $(seq 100); do grep -q '^listening' "$work/relay.out" && break; sleep 0.1; done
  relay_port=$(sed -n 's/^listening //p' "$work/relay.out")
  [ -n "$relay_port" ] || fail "relay did not start"
}

# print_demo_record ENV: medrec-batch prints the demo patient's record through ENV.
print_demo_record() {
  MEDREC_ENV_FILE=$1 MEDREC_PRINT_TO="pdf:$work/pdf" MEDREC_BATCH_USER=COURT \
    "$batch" 1234 --visit 20180514 --kind MDADINFT 2>"$work/batch.err" || { cat "$work/batch.err" >&2; fail "print"; }
}

stop_all() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  pids=()
}

mkdir -p "$work/pdf"
"$siteca" init "$work/ca" "Hanbit Hospital" >/dev/null
"$siteca" server "$work/ca" 127.0.0.1 >/dev/null
"$siteca" workstation "$work/ca" ward3-pc1 >/dev/null
"$server" import --db "$work/db" "$data" >/dev/null
[ "$("$server" audit --db "$work/db")" = $'at\tworkstation\tuser\tservice\tpatient' ] ||
  fail "the import left rows in the access audit"

name=$(printf '김민준' | iconv -f UTF-8 -t CP949)
regno=7903121646581

# Plain TCP through the relay: the patient can be read off the wire.
start_server "$work/plain.log"
start_relay "$work/plain.bytes"
printf 'HOST = 127.0.0.1\nPORT = %s\nFIELD_TABLE = %s\n' "$relay_port" "$fields" >"$work/plain.env"
print_demo_record "$work/plain.env"
LC_ALL=C grep -qaF "$name" "$work/plain.bytes" || fail "the plain session's bytes lack the name: the check sees nothing"
LC_ALL=C grep -qaF "1646581" "$work/plain.bytes" || fail "the plain session's bytes lack the registration number"
stop_all
plain_rows=$("$server" audit --db "$work/db" | tail -n +2 | wc -l)

# TLS through the relay.
start_server "$work/tls.log" --tls-cert "$work/ca/issued/server.crt" --tls-key "$work/ca/issued/server.key" \
  --tls-ca "$work/ca/ca.crt" --tls-crl "$work/ca/crl.pem"
start_relay "$work/tls.bytes"
cat >"$work/tls.env" <<ENV
HOST = 127.0.0.1
PORT = $relay_port
FIELD_TABLE = $fields
TLS_CA = ca/ca.crt
TLS_CERT = ca/issued/ward3-pc1.crt
TLS_KEY = ca/issued/ward3-pc1.key
ENV
print_demo_record "$work/tls.env"
[ -s "$work/tls.bytes" ] || fail "nothing went through the relay"
! LC_ALL=C grep -qaF "$name" "$work/tls.bytes" || fail "the patient's name crossed the wire in clear"
! LC_ALL=C grep -qaF "$regno" "$work/tls.bytes" || fail "the registration number crossed the wire in clear"
! LC_ALL=C grep -qaF "1646581" "$work/tls.bytes" || fail "the registration number crossed the wire in clear"

# A stop writes every audit row still queued (a read's row follows its reply).
stop_all

# The history row names the workstation's certificate.
"$server" history --db "$work/db" --limit 1 | tail -n 1 |
  grep -q $'\t00001234\t.*\tMDADINFT\tCOURT\t.*\tCN=ward3-pc1,O=Hanbit Hospital$' ||
  { "$server" history --db "$work/db" >&2; fail "history row without the workstation"; }

# The audit: the TLS print's reads (patient look-ups, visits, record lists, the record)
# and its history write, each with the certificate; no row for the code look-ups.
"$server" audit --db "$work/db" --patient 00001234 | tail -n +$((plain_rows + 2)) | cut -f2- >"$work/audit"
cat >"$work/expected" <<'ROWS'
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_PATBA_L2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_PATBA_L2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_PMEDH_S1	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L1	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L1	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L1	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L1	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L1	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_L2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_PATBA_L2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_ADINF_S2	00001234
CN=ward3-pc1,O=Hanbit Hospital	COURT	MD_RECOD_U1	00001234
ROWS
diff "$work/expected" "$work/audit" || fail "the access audit differs from the session's reads and writes"
[ "$("$server" audit --db "$work/db" --patient 99999999 | wc -l)" -eq 1 ] || fail "--patient lists another patient"
[ "$("$server" audit --db "$work/db" --since 2999-01-01 | wc -l)" -eq 1 ] || fail "--since lists earlier rows"
[ "$("$server" audit --db "$work/db" --since "$(date +%Y-%m-%d)" | wc -l)" -gt 1 ] || fail "--since today lists nothing"
echo "ok"
