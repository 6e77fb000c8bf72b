#!/usr/bin/env bash
# Runs a command as if PROGRAM did not exist: in a private mount namespace, /usr/bin is replaced
# by a copy without it (hard links, so the copy is cheap). On Debian 12 /bin is /usr/bin, so PATH
# alone cannot hide a program. Needs root; exits 77 (skip) without it.
#   tests/support/without-program.sh PROGRAM COMMAND [ARG...]
set -eu
program=$1
shift
if [ -z "${ZARVOLITH_HIDING_PROGRAM:-}" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: hiding a program needs root for a private mount namespace"; exit 77; }
  command -v unshare >/dev/null || { echo "SKIP: unshare (util-linux) is missing"; exit 77; }
  exec unshare --mount --propagation private env ZARVOLITH_HIDING_PROGRAM=1 bash "$0" "$program" "$@"
fi
unset ZARVOLITH_HIDING_PROGRAM
# mktemp's directory is root's alone (mode 700), so the links to set-user-ID programs such as
# mount, which a nested run needs, are out of other users' reach while they last.
copy=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-bin.XXXXXX")
trap 'rm -rf "$copy"' EXIT
cp -al /usr/bin/. "$copy" 2>/dev/null || cp -a /usr/bin/. "$copy"
rm -f "$copy/$program"
mount --bind "$copy" /usr/bin
hash -r
! command -v "$program" >/dev/null || { echo "FAIL: $program is still found" >&2; exit 1; }
status=0
"$@" || status=$?
exit $status
