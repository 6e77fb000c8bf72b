#!/usr/bin/env bash
# A window resized to 800 by 600 returns to 1024 by 768.
. "$(dirname "$0")/lib.sh"
make_game_dir
level 1 "" "          g"
start_game
xdotool windowsize "$WID" 800 600
size=""
for _ in $(seq 1 50); do
  sleep 0.1
  size=$(xwininfo -id "$WID" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
  [ "$size" = "1024x768" ] && break
done
[ "$size" = "1024x768" ] || fail "window stayed $size"
wait_colour 512 384 0,200,0 5 "title after the resize"
key Escape
expect_exit 0 10
echo "resize: ok"
