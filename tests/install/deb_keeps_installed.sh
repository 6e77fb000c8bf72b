#!/usr/bin/env bash
# A zarvolith package that was installed before the tests is the user's: deb.sh, run where dpkg's
# database lists one, must skip (status 77) and leave that database as it was. It runs in a
# private mount namespace over a copy of dpkg's status file, with apt-get replaced by `false`,
# so the real system is untouched even when the skip is broken.
. "$(dirname "$0")/lib.sh"
SKIP=77
if [ -z "${ZARVOLITH_STAND_IN_PACKAGE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: a private mount namespace needs root"; exit $SKIP; }
  exec unshare --mount --propagation private env ZARVOLITH_STAND_IN_PACKAGE=1 bash "$0"
fi
unset ZARVOLITH_STAND_IN_PACKAGE

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-keep.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp /var/lib/dpkg/status "$work/status"
cat >>"$work/status" <<STANZA

Package: zarvolith
Status: install ok installed
Priority: optional
Section: games
Maintainer: A player
Architecture: $(dpkg --print-architecture)
Version: 0.9-7
Description: the copy a player installed
STANZA
cp "$work/status" "$work/status.before"
mount --bind "$work/status" /var/lib/dpkg/status
mount --bind /bin/false "$(command -v apt-get)"
[ "$(dpkg-query -W -f='${Version}' zarvolith)" = 0.9-7 ] || fail "the stand-in package is not listed"

status=0
bash "$(dirname "$0")/deb.sh" >"$work/deb.log" 2>&1 || status=$?
cat "$work/deb.log"
[ $status -eq $SKIP ] || fail "deb.sh ended with status $status, not the skip, with a package installed"
grep -q '^SKIP: zarvolith 0.9-7 ' "$work/deb.log" || fail "the skip does not name the installed package"
cmp -s "$work/status" "$work/status.before" || fail "dpkg's database changed"
echo "an installed package is left alone: ok"
