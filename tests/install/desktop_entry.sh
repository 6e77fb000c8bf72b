#!/usr/bin/env bash
# The installed desktop entry validates, starts the installed launcher by its absolute path and
# names an icon that the install provides.
. "$(dirname "$0")/lib.sh"
p=$STAGED_PREFIX
entry=$p/share/applications/zarvolith.desktop
# Hints are suggestions; errors and warnings are faults.
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || echo "$out"
! echo "$out" | grep -qE ': (error|warning): ' || fail "desktop-file-validate reports problems"

key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(key Exec)" = "$p/games/zarvolith" ] || fail "Exec is '$(key Exec)', expected $p/games/zarvolith"
[ -x "$(key Exec)" ] || fail "Exec names no executable file"
[ "$(key Type)" = Application ] || fail "Type is '$(key Type)'"
[ "$(key Categories)" = "Game;ArcadeGame;" ] || fail "Categories is '$(key Categories)'"
[ "$(key Icon)" = zarvolith ] || fail "Icon is '$(key Icon)'"
for size in $ICON_SIZES; do
  [ -f "$p/share/icons/hicolor/${size}x$size/apps/$(key Icon).png" ] || fail "no ${size}px icon"
done
[ -n "$(key Comment)" ] || fail "no Comment"
[ -n "$(key Keywords)" ] || fail "no Keywords"
echo "desktop entry: ok"
