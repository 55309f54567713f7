#!/usr/bin/env bash
# scripts/demo decides where prints go from what CUPS reports, says so, and its prints land
# there: each case runs the demo with medrec-batch in place of the window and reprints one
# record.
#
#   demo-test.sh no-scheduler BUILD   CUPS_SERVER names a socket no scheduler listens on
#   demo-test.sh private-cups BUILD   a private cupsd (scripts/cups-test-queue): its default
#                                     queue takes the print; then the same queue rejecting
#                                     jobs, paused, and removed (no default destination)
#                                     sends it to the PDF folder. Exit 77 (skipped) where
#                                     that scheduler cannot run.
set -euo pipefail
mode=$1 build=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/medrec-demo-test.XXXXXX)
cups="$build/tests/app/demo-cups"
trap '[ "$mode" = private-cups ] && "$root/scripts/cups-test-queue" stop "$cups" >/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Only the scheduler the case names: no user default from lpoptions, no LPDEST or PRINTER.
export HOME="$work/home" QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER MEDREC_PRINT_TO DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"

# Runs the demo with a one-record reprint in case folder $1; its output is in $1/out.
demo() {
  local dir=$1
  MEDREC_DEMO_DIR="$dir" "$root/scripts/demo" "$build" \
    "$build/app/medrec-batch" 1234 --visit 20180514 --kind MDADINFT >"$dir.out" 2>&1 ||
    { cat "$dir.out" >&2; fail "the demo's reprint failed"; }
  cat "$dir.out"
  [ "$("$build/server/medrec-server" history --db "$dir/demo.db" | tail -n +2 | wc -l)" -eq 1 ] ||
    fail "expected one print-history row"
}

# The demo said why and where, the PDF folder it named holds the printed record, and the
# status line names its file.
expect_pdf_folder() {
  local dir=$1 reason=$2
  grep -qF "demo: $reason; printed documents go to PDF files in $dir/printed" "$dir.out" ||
    fail "the demo did not say \"$reason\" and name $dir/printed"
  local pdfs=("$dir"/printed/*_MDADINFT_00001234.pdf)
  [ ${#pdfs[@]} -eq 1 ] && [ -s "${pdfs[0]}" ] || fail "no printed record in $dir/printed"
  [[ "$(pdftotext "${pdfs[0]}" -)" == *"00001234"* ]] || fail "the PDF does not hold the record"
  grep -qxF "status: 기록지를 출력했습니다 (2쪽): PDF 파일 ${pdfs[0]}" "$dir.out" ||
    fail "the status line does not name ${pdfs[0]}"
}

case "$mode" in
no-scheduler)
  export CUPS_SERVER="$work/no-scheduler.sock"
  demo "$work/a"
  expect_pdf_folder "$work/a" "no printing scheduler (CUPS) is running"
  ;;
private-cups)
  "$root/scripts/cups-test-queue" start "$cups"
  [ -e "$cups/skipped" ] && { echo "skipped: $(cat "$cups/skipped")"; exit 77; }
  export CUPS_SERVER="$cups/cups.sock"
  queue=medrec-pdf

  # A default that takes jobs: the record goes to it, not to a PDF file.
  demo "$work/a"
  grep -qx "demo: printed documents go to the default printer $queue" "$work/a.out" ||
    fail "the demo did not name the default printer"
  [ -z "$(ls "$work/a/printed")" ] || fail "a PDF file was written although the printer takes jobs"
  grep -qxF "status: 기록지를 출력했습니다 (2쪽): 프린터 $queue" "$work/a.out" ||
    fail "the status line does not name the printer"
  for _ in $(seq 600); do
    [ -z "$(lpstat -o "$queue")" ] && [ -n "$(lpstat -W completed -o "$queue")" ] && break
    sleep 0.1
  done
  [[ "$(pdftotext "$cups/out/$queue.pdf" - 2>&1)" == *"00001234"* ]] || fail "the queue did not print the record"

  cupsreject "$queue"
  demo "$work/b"
  expect_pdf_folder "$work/b" "the default printer $queue does not accept jobs"

  cupsaccept "$queue"
  cupsdisable "$queue"
  demo "$work/c"
  expect_pdf_folder "$work/c" "the default printer $queue is paused (its jobs would wait in the queue)"

  lpadmin -x "$queue"
  [ "$(LC_ALL=C lpstat -d)" = "no system default destination" ] || fail "the queue is still the default"
  demo "$work/d"
  expect_pdf_folder "$work/d" "CUPS has no default printer"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
echo "PASS"
