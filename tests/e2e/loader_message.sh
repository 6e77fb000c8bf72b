#!/usr/bin/env bash
# A level file without its final line end is played all the same, and the loader says so once on
# standard output.
. "$(dirname "$0")/lib.sh"
make_game_dir
level 1 "" "          g"
printf '%s' "$(cat "$WORK/game/levels/level1.txt")" > "$WORK/game/levels/level1.txt.tmp"
mv "$WORK/game/levels/level1.txt.tmp" "$WORK/game/levels/level1.txt"
start_game
wait_colour 512 384 0,200,0 10 "title"
key Escape
expect_exit 0 10
expected="Exception raised loading level: End of level file reached prematurely."
[ "$(cat "$WORK/stdout")" = "$expected" ] || fail "stdout was: $(cat "$WORK/stdout")"
echo "loader message: ok"
