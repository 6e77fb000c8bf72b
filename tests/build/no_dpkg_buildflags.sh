#!/usr/bin/env bash
# Off Debian there is no dpkg-buildflags: an optimised build must still configure, say once that
# it writes the hardening flags out itself, and build the game with them (fortified, stack
# protector, full RELRO with immediate binding). Runs in a fresh build directory with
# dpkg-buildflags hidden.
set -u
SOURCE_DIR=${SOURCE_DIR:?SOURCE_DIR must name the source directory}
WORK=${WORK:?WORK must name a scratch directory}
. "$SOURCE_DIR/tests/build/lib.sh"
rerun_without dpkg-buildflags

rm -rf "$WORK"
mkdir -p "$WORK"
cmake -S "$SOURCE_DIR" -B "$WORK" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$WORK/configure.log" 2>&1 ||
  fail "configure failed without dpkg-buildflags: $(cat "$WORK/configure.log")"
[ "$(grep -c 'dpkg-buildflags not found' "$WORK/configure.log")" -eq 1 ] ||
  fail "configure did not say once that dpkg-buildflags is missing"
for flag in -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Werror=format-security; do
  grep -q -- "$flag" "$WORK/compile_commands.json" || fail "compile commands lack $flag"
done
cmake --build "$WORK" --target zarvolith -j 2 >"$WORK/build.log" 2>&1 ||
  fail "the game does not build without dpkg-buildflags: $(tail -n 30 "$WORK/build.log")"
binary=$WORK/game/zarvolith
[ -x "$binary" ] || fail "no game binary at $binary"
readelf -lW "$binary" | grep -q GNU_RELRO || fail "the game binary has no RELRO segment"
readelf -dW "$binary" | grep -qE 'BIND_NOW|FLAGS.*NOW' || fail "the game binary does not bind immediately"
readelf -sW "$binary" | grep -q '__stack_chk_fail' || fail "the game binary has no stack protector"
echo "builds without dpkg-buildflags: ok"
