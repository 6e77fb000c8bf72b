#!/usr/bin/env bash
# Clicks lead into play; a glider that falls onto an exit brings in the next level's backdrop; with
# no further level the escape picture shows; Escape then ends the game with status 0.
. "$(dirname "$0")/lib.sh"
make_game_dir
solid level1bg.png '#0000a0' 256x256
solid level2bg.png '#a0a000' 256x256
# The start cell three rows above an exit.
level 1 "" "          g" "" "" "          G"
level 2 "" "    g" "" "" "    G"
start_game
wait_colour 512 384 0,200,0 10 "title"
click
wait_colour 512 384 200,0,0 10 "instructions"
click
wait_colour 100 100 0,0,160 10 "level 1 backdrop"
wait_colour 100 100 160,160,0 15 "level 2 backdrop after the exit"
wait_colour 512 409 0,255,255 15 "escape picture after the last level"
wait_colour 100 100 160,160,0 2 "the last level stays under the escape picture"
click  # buttons do nothing once the game is won
sleep 0.5
kill -0 "$GAME_PID" || fail "a click ended a won game"
key Escape
expect_exit 0 10
echo "play through: ok"
