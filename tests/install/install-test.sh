#!/usr/bin/env bash
# From the installed files alone: install into a temporary prefix, move the prefix
# elsewhere, and with nothing of the source or build tree in reach import the demo data,
# start medrec-server from its configuration file on an ephemeral loopback port, print a
# demo record with medrec-batch to PDF and read it back; then stop the server with SIGTERM.
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/staged" --strip >"$work/install.log" || { cat "$work/install.log" >&2; fail "install"; }
mv "$work/staged" "$work/moved"
p=$work/moved

# What the issue's install layout promises.
for f in bin/medrec bin/medrec-batch bin/medrec-server bin/medrec-render-form bin/medrec-compare-prints \
         share/medrec/fields.tbl share/medrec/logo/seon-logo.jpg share/medrec/His.env.sample \
         share/medrec-server/fields.tbl share/medrec-server/demo.json \
         share/doc/medrec/README.md etc/medrec/His.env etc/medrec/medrec-server.conf \
         lib/systemd/system/medrec-server.service; do
  [ -e "$p/$f" ] || fail "$f not installed"
done
for form in "$source"/reports/*/*.json; do
  unit=$(basename "$(dirname "$form")")
  [ -e "$p/share/medrec/forms/$unit/$(basename "$form")" ] || fail "form $unit/$(basename "$form") not installed"
done
# No program names the source or build tree.
for program in "$p"/bin/*; do
  ! grep -qF -e "$source/" -e "$(cd "$build" && pwd)/" "$program" || fail "$program names the source or build tree"
done

# Nothing leads back to the trees: no overrides, a working folder of its own.
unset MEDREC_FORMS_DIR MEDREC_LOGO_DIR MEDREC_FIELD_TABLE MEDREC_ENV_FILE MEDREC_LAYOUT_RECORDS
cd "$work"

"$p/bin/medrec-server" import --db "$work/medrec.db" "$p/share/medrec-server/demo.json" >/dev/null

# The installed configuration file, with the command line overriding its database and port.
"$p/bin/medrec-server" --config "$p/etc/medrec/medrec-server.conf" --db "$work/medrec.db" \
  --listen 127.0.0.1:0 >"$work/server.out" 2>"$work/server.log" &
pid=$!
for _ in $(seq 100); do grep -q '^listening' "$work/server.out" && break; sleep 0.1; done
port=$(sed -n 's/^listening [0-9.]*:\([0-9]*\).*/\1/p' "$work/server.out")
[ -n "$port" ] || { cat "$work/server.log" >&2; fail "server did not start"; }

# The installed site environment file, pointed at that port; its field table is the
# client's own, named relative to the file.
sed -i "s/^PORT = .*/PORT = $port/" "$p/etc/medrec/His.env"
export MEDREC_ENV_FILE="$p/etc/medrec/His.env" MEDREC_PRINT_TO="pdf:$work/pdf" MEDREC_BATCH_USER=INSTALL
mkdir "$work/pdf"
"$p/bin/medrec-batch" 1302 --visit 20160905 --kind MDOPRECT --record 1 2>"$work/batch.err" ||
  { cat "$work/batch.err" "$work/server.log" >&2; fail "medrec-batch"; }
pdfs=("$work"/pdf/*.pdf)
[ ${#pdfs[@]} -eq 1 ] && [ -f "${pdfs[0]}" ] || fail "expected one PDF, found ${#pdfs[@]}"
text=$(pdftotext -layout "${pdfs[0]}" -)
grep -q '김민수' <<<"$text" || fail "the printed record lacks the patient's name"
grep -q '00001302' <<<"$text" || fail "the printed record lacks the patient number"
record=${pdfs[0]%.pdf}.layout.txt
grep -q '/qlb_patno .*"00001302"$' "$record" || fail "no layout record beside the PDF naming the patient"
"$p/bin/medrec-compare-prints" "$record" "$record" >"$work/compare.out" || fail "the record differs from itself"
[ "$("$p/bin/medrec-server" history --db "$work/medrec.db" | tail -n +2 | wc -l)" -eq 1 ] || fail "one history row"

# The log: the session's start and end at the default level, no line per successful call.
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { cat "$work/server.log" >&2; fail "exit status $status after SIGTERM"; }
log=$(cat "$work/server.log")
grep -q 'info: session .*user INSTALL.* started' <<<"$log" || fail "no session start in the log: $log"
grep -q 'info: session .* ended' <<<"$log" || fail "no session end in the log: $log"
grep -q 'SIGTERM received, stopping' <<<"$log" || fail "no stop line: $log"
grep -q "stopped; database $work/medrec.db closed" <<<"$log" || fail "no database close line: $log"
! grep -q 'debug:' <<<"$log" || fail "debug lines at the default level: $log"
echo "install: all checks passed"
