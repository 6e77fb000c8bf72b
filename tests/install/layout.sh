#!/usr/bin/env bash
# Every installed file is where the game, the desktop and man expect it, with the right mode and
# content, and nothing else is installed.
. "$(dirname "$0")/lib.sh"
p=$STAGED_PREFIX
data=$p/share/games/zarvolith

got=$(find "$p" -type f -o -type l | LC_ALL=C sort)
want=$(expected_files "$p")
[ "$got" = "$want" ] || fail "installed files differ from the expected list:
$(diff <(echo "$want") <(echo "$got"))"

while read -r file; do
  [ -s "$data/$file" ] || fail "the game needs $file, which is missing or empty"
done < <(required_data)

# The data is the build's, byte for byte.
for f in "$SOURCE_DIR"/levels/*.txt; do cmp -s "$f" "$data/levels/${f##*/}" || fail "${f##*/} differs"; done
for f in "$GAME_DIR"/images/*.png "$GAME_DIR"/audio/*.mp3; do
  rel=${f#"$GAME_DIR"/}
  cmp -s "$f" "$data/$rel" || fail "$rel differs from the build's"
done

for exe in "$p/games/zarvolith" "$p/lib/games/zarvolith/zarvolith"; do
  [ "$(stat -c %a "$exe")" = 755 ] || fail "$exe has mode $(stat -c %a "$exe"), expected 755"
done
bad_modes=$(find "$p/share" -type f ! -perm 644)
[ -z "$bad_modes" ] || fail "data files not 0644: $bad_modes"

[ "$(head -c 4 "$p/lib/games/zarvolith/zarvolith" | od -An -c | tr -d ' ')" = '177ELF' ] ||
  fail "the installed binary is not an ELF file"
# An install must not load libraries from the build tree.
if readelf -d "$p/lib/games/zarvolith/zarvolith" | grep -E 'R(UN)?PATH' | grep -qF "$BUILD_DIR"; then
  fail "the installed binary keeps a run path into the build tree"
fi
sh -n "$p/games/zarvolith" || fail "the launcher is not a valid sh script"
[ "$(head -n 1 "$p/games/zarvolith")" = '#!/bin/sh' ] || fail "the launcher lacks its #!/bin/sh line"

for size in $ICON_SIZES; do
  icon=$p/share/icons/hicolor/${size}x$size/apps/zarvolith.png
  dims=$(identify -format '%m %wx%h' "$icon") || fail "$icon is not a readable picture"
  [ "$dims" = "PNG ${size}x$size" ] || fail "$icon is $dims, expected PNG ${size}x$size"
done
echo "layout: ok"
