#!/usr/bin/env bash
# Installs the built game with DESTDIR, the way a distribution stages a package, checks nothing
# escaped DESTDIR or names it, then moves the tree to the prefix it was installed for so the
# other install tests can use and run it there.
. "$(dirname "$0")/lib.sh"
destdir=$STAGE/destdir
rm -rf "$STAGE"
mkdir -p "$destdir"
DESTDIR=$destdir cmake --install "$BUILD_DIR" --prefix "$STAGED_PREFIX" >"$STAGE/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$STAGE/install.log")"
[ ! -e "$STAGED_PREFIX" ] || fail "the install wrote to $STAGED_PREFIX outside DESTDIR"
[ -d "$destdir$STAGED_PREFIX" ] || fail "nothing was installed under DESTDIR"
outside=$(cd "$destdir" && find . -mindepth 1 -path ".$STAGED_PREFIX" -prune -o -type f -print)
[ -z "$outside" ] || fail "files outside the prefix: $outside"
named=$(grep -rlF "$destdir" "$destdir" || true)
[ -z "$named" ] || fail "installed files name the DESTDIR path: $named"
mv "$destdir$STAGED_PREFIX" "$STAGED_PREFIX"
rm -rf "$destdir"
echo "staged install: ok"
