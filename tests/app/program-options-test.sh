#!/usr/bin/env bash
# Every client program answers --help (usage on standard output, exit 0) and --version, with
# no display and no session.
set -euo pipefail
version=$1
shift
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
for program in "$@"; do
  name=$(basename "$program")
  "$program" --help >"$work/out" 2>"$work/err" || fail "$name --help exit $?"
  grep -q "^usage: $name " "$work/out" || fail "$name --help printed no usage: $(head -c 300 "$work/out")"
  [ ! -s "$work/err" ] || fail "$name --help wrote to standard error: $(head -c 300 "$work/err")"
  "$program" --version >"$work/out" 2>"$work/err" || fail "$name --version exit $?"
  [ "$(cat "$work/out")" = "$name $version" ] || fail "$name --version printed '$(cat "$work/out")'"
  echo "ok: $name"
done
