#!/usr/bin/env bash
# The window opens with its title and size, a click leaves the title, and Escape ends the game
# with status 0 and nothing printed.
. "$(dirname "$0")/lib.sh"
make_game_dir
level 1 "" "          g" "" "" "" "" "" "" "" "" "" "" "" "" "))))))))))))))))))))"
start_game
geometry=$(xwininfo -id "$WID" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "1024x768" ] || fail "window is $geometry"
wait_colour 512 384 0,200,0 10 "title picture"
click
wait_colour 512 384 200,0,0 10 "instructions after a click"
key Escape
expect_exit 0 10
[ ! -s "$WORK/stdout" ] || fail "unexpected output on stdout"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
echo "window and quit: ok"
