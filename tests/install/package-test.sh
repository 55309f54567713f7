#!/usr/bin/env bash
# make package's Debian packages, built from this build: their contents, their declared
# dependencies and lintian with no errors. Exit 77 (skipped) without dpkg-deb or lintian.
set -euo pipefail
build=$1
for tool in dpkg-deb dpkg-shlibdeps lintian; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed (scripts/install-deps)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack"; }
client=$(ls "$work"/medrec_*.deb) server=$(ls "$work"/medrec-server_*.deb)

contents() { dpkg-deb --contents "$1" | awk '{print $6}' | sed 's|^\./|/|'; }
contents "$client" >"$work/client.list"
contents "$server" >"$work/server.list"
for f in /usr/bin/medrec /usr/bin/medrec-batch /usr/bin/medrec-render-form /usr/bin/medrec-compare-prints \
         /usr/share/medrec/fields.tbl /usr/share/man/man1/medrec-compare-prints.1.gz \
         /usr/share/medrec/logo/seon-logo.jpg /usr/share/medrec/forms/MDS510U1_P01/TMDS510F1_P01.json \
         /etc/medrec/His.env /usr/share/applications/medrec.desktop \
         /usr/share/icons/hicolor/scalable/apps/medrec.svg /usr/share/doc/medrec/copyright \
         /usr/share/doc/medrec/changelog.gz /usr/share/doc/medrec/README.md /usr/share/man/man1/medrec.1.gz; do
  grep -qx "$f" "$work/client.list" || fail "medrec lacks $f"
done
for f in /usr/bin/medrec-server /usr/bin/medrec-site-ca /usr/share/medrec-server/fields.tbl /etc/medrec/medrec-server.conf \
         /lib/systemd/system/medrec-server.service /usr/share/doc/medrec-server/copyright \
         /usr/share/man/man8/medrec-server.8.gz; do
  grep -qx "$f" "$work/server.list" || fail "medrec-server lacks $f"
done
! grep -q '^/usr/bin/medrec-server$' "$work/client.list" || fail "the client package holds the service host"
! grep -q 'medrec-server' "$work/client.list" || fail "the client package holds service host files"
! grep -qE '^/usr/bin/medrec(-batch)?$' "$work/server.list" || fail "the server package holds the client"
# No file in both packages (both can be installed on one machine).
dupes=$(comm -12 <(grep -v '/$' "$work/client.list" | sort) <(grep -v '/$' "$work/server.list" | sort))
[ -z "$dupes" ] || fail "files in both packages: $dupes"

# The site files name the installed paths.
dpkg-deb --fsys-tarfile "$client" | tar -xO ./etc/medrec/His.env | grep -qx 'FIELD_TABLE = /usr/share/medrec/fields.tbl' ||
  fail "His.env does not name /usr/share/medrec/fields.tbl"
dpkg-deb --fsys-tarfile "$server" | tar -xO ./lib/systemd/system/medrec-server.service |
  grep -qx 'ExecStart=/usr/bin/medrec-server serve --config /etc/medrec/medrec-server.conf' || fail "unit ExecStart"
dpkg-deb --fsys-tarfile "$server" | tar -xO ./etc/medrec/medrec-server.conf | grep -qx 'db = /var/lib/medrec/medrec.db' ||
  fail "medrec-server.conf database"

# Dependencies: from the libraries really linked, and what is loaded at run time.
cdeps=$(dpkg-deb -f "$client" Depends) sdeps=$(dpkg-deb -f "$server" Depends)
for d in libqt6widgets6 libqt6printsupport6 libjpeg62-turbo libc6 libssl3 fonts-noto-cjk qt6-qpa-plugins; do
  grep -q "$d" <<<"$cdeps" || fail "medrec does not depend on $d: $cdeps"
done
for d in libsqlite3-0 libc6 libssl3 adduser openssl; do
  grep -q "$d" <<<"$sdeps" || fail "medrec-server does not depend on $d: $sdeps"
done
! grep -q 'libqt6' <<<"$sdeps" || fail "medrec-server depends on Qt: $sdeps"
[ "$(dpkg-deb -f "$client" Package)" = medrec ] && [ "$(dpkg-deb -f "$server" Package)" = medrec-server ] ||
  fail "package names"
dpkg-deb --ctrl-tarfile "$client" | tar -xO ./conffiles | grep -qx /etc/medrec/His.env || fail "client conffiles"
dpkg-deb --ctrl-tarfile "$server" | tar -xO ./conffiles | grep -qx /etc/medrec/medrec-server.conf || fail "server conffiles"

lintian --fail-on error --tag-display-limit 0 "$client" "$server" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }
grep '^E:' "$work/lintian.log" && fail "lintian errors"
cat "$work/lintian.log"
echo "packages: all checks passed"
