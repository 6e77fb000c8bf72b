#!/usr/bin/env bash
# A three-level pack played by zarvolith-play: each level's route typed in real time leads to the
# next, the last exit shows the escape picture, and the private game directory is gone once the
# game ends. A pack cut short, or a folder with a bad level, is refused with its line and column
# before the game is started.
. "$(dirname "$0")/lib.sh"
PLAY_BIN=${PLAY_BIN:?PLAY_BIN must name zarvolith-play}
make_game_dir
mkdir "$WORK/tmp"
# GAME_PID is zarvolith-play: on the way out its game goes first, so that no window of this
# test is left for the next one to find.
trap 'pkill -9 -P "$GAME_PID" 2>/dev/null; cleanup' EXIT

# A closed room with a hazard floor; the glider starts in column START of row 3 above an exit
# that spans columns FIRST to LAST of the floor: room START FIRST LAST
room() {
  local r row
  echo ')((((((((((((((((((('
  for r in $(seq 1 13); do
    row=')                  ('
    [ "$r" -eq 2 ] && row="${row:0:$1}g${row:$(($1 + 1))}"
    if [ "$r" -eq 13 ]; then
      row=')'; for c in $(seq 1 18); do
        if [ "$c" -ge "$2" ] && [ "$c" -le "$3" ]; then row+=G; else row+='='; fi
      done; row+='('
    fi
    echo "$row"
  done
  echo ')))))))))))))))))))('
}
# Their routes: the first falls straight into its exit, the second is "N8 R180" and the third
# "N10 L180"; each wins after 454 frames (7.57 s) and holds its key long enough that a late or
# early key by half a second still wins.
{ echo 'Zarvolith level pack: Three rooms'; room 10 8 12; room 3 10 18; room 16 1 9; } > "$WORK/three.zvpack"

(export TMPDIR="$WORK/tmp"; cd "$WORK" &&
   exec "$PLAY_BIN" --game "$WORK/game/zarvolith" --data "$WORK/game" --pack "$WORK/three.zvpack" \
     >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zarvolith$' 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "the game window did not appear"
[ "$(ls "$WORK/tmp" | wc -l)" -eq 1 ] || fail "no private game directory while the game runs"
wait_colour 512 384 0,200,0 10 "title"
click
wait_colour 512 384 200,0,0 10 "instructions"
click
sleep 7.7
xdotool keydown --window "$WID" Right; sleep 3.0; xdotool keyup --window "$WID" Right
sleep 4.6
xdotool keydown --window "$WID" Left; sleep 3.0; xdotool keyup --window "$WID" Left
wait_colour 512 409 0,255,255 10 "the escape picture after the pack's third exit"
key Escape
expect_exit 0 10
[ -z "$(ls -A "$WORK/tmp")" ] || fail "the private game directory is left behind: $(ls "$WORK/tmp")"

# A pack whose last level is cut short never starts the game.
head -n 20 "$WORK/three.zvpack" > "$WORK/cut.zvpack"
printf '#!/bin/sh\ntouch "%s/started"\n' "$WORK" > "$WORK/marker" && chmod +x "$WORK/marker"
TMPDIR="$WORK/tmp" "$PLAY_BIN" --game "$WORK/marker" --data "$WORK/game" --pack "$WORK/cut.zvpack" \
  >"$WORK/stdout" 2>"$WORK/stderr"
status=$?
[ "$status" -eq 1 ] || fail "a pack cut short gave status $status"
grep -qF "cut.zvpack:21:1: level 2 is cut short: it has 4 of its 15 lines" "$WORK/stderr" ||
  fail "the refusal does not name the line: $(cat "$WORK/stderr")"
[ ! -e "$WORK/started" ] || fail "the game was started for a refused pack"
[ -z "$(ls -A "$WORK/tmp")" ] || fail "a refused pack left a directory"
# So is a folder whose second level has a cell the game does not know.
mkdir "$WORK/folder"
room 10 8 12 > "$WORK/folder/level1.txt"
room 3 10 18 | sed '5s/^)  /)? /' > "$WORK/folder/level2.txt"
TMPDIR="$WORK/tmp" "$PLAY_BIN" --game "$WORK/marker" --data "$WORK/game" --levels "$WORK/folder" \
  >"$WORK/stdout" 2>"$WORK/stderr"
status=$?
[ "$status" -eq 1 ] || fail "a folder with a bad level gave status $status"
grep -qF "folder/level2.txt:5:2: " "$WORK/stderr" || fail "the folder's refusal: $(cat "$WORK/stderr")"
[ ! -e "$WORK/started" ] || fail "the game was started for a refused folder"

echo "pack play: ok"
