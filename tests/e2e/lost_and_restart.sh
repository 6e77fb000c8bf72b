#!/usr/bin/env bash
# A glider that falls onto a hazard shows the lost picture; Up restarts the level; a click then
# ends the game with status 0.
. "$(dirname "$0")/lib.sh"
make_game_dir
solid level1bg.png '#004000' 256x256
level 1 "" "          g" "" "" "          ["
start_game
click
click
wait_colour 100 100 0,64,0 10 "level 1 backdrop"
wait_colour 512 409 255,0,255 15 "lost picture after the hazard"
key Up
wait_colour 512 409 0,64,0 5 "the lost picture is gone after Up"
wait_colour 512 409 255,0,255 15 "lost again after the restart"
click
expect_exit 0 10
echo "lost and restart: ok"
