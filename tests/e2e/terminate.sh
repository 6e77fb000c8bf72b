#!/usr/bin/env bash
# A desktop logout or `kill` sends SIGTERM: the game ends at once instead of ignoring it.
. "$(dirname "$0")/lib.sh"
make_game_dir
level 1 "" "          g"
start_game
wait_colour 512 384 0,200,0 10 "title"
kill -TERM "$GAME_PID"
deadline=$((SECONDS + 5))
while kill -0 "$GAME_PID" 2>/dev/null; do
  [ $SECONDS -ge $deadline ] && fail "the game ignored SIGTERM"
  sleep 0.1
done
GAME_PID=""
echo "terminate: ok"
