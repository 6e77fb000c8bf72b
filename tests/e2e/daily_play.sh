#!/usr/bin/env bash
# zarvolith --daily DATE, through zarvolith-play: the game is handed the ten levels the solver
# makes for that day, byte for byte, and the first one's route typed in real time reaches level 2.
# A day that is not in the calendar never starts the game.
. "$(dirname "$0")/lib.sh"
PLAY_BIN=${PLAY_BIN:?PLAY_BIN must name zarvolith-play}
SOLVER_BIN=${SOLVER_BIN:?SOLVER_BIN must name the solver}
DAY=2026-12-24
make_game_dir
mkdir -p "$WORK/tmp" "$WORK/data/levels"
trap 'pkill -9 -P "$GAME_PID" 2>/dev/null; cleanup' EXIT
# The installed data: the solid pictures, and the shipped levels with their routes, which set the
# day's targets.
ln -s "$WORK/game/images" "$WORK/game/audio" "$WORK/data/"
cp "$(dirname "$0")"/../../levels/level*.txt "$(dirname "$0")"/../../levels/level*.route "$WORK/data/levels/"
"$SOLVER_BIN" --levels "$WORK/data/levels" --generate --daily "$DAY" --pack "$WORK/day.zvpack" >"$WORK/day.out" ||
  fail "the solver made no pack for $DAY"
ROUTE=$(sed -n 's/^level 1, .*: //p' "$WORK/day.out")
[ -n "$ROUTE" ] || fail "the solver gave no route for the day's level 1: $(cat "$WORK/day.out")"

(export TMPDIR="$WORK/tmp"; cd "$WORK" &&
   exec "$PLAY_BIN" --game "$WORK/game/zarvolith" --data "$WORK/data" --daily "$DAY" >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
# The launcher makes the ten levels before the window opens.
WID=$(timeout 240 xdotool search --sync --onlyvisible --name '^Zarvolith$' 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "the game window did not appear"
DIR=$(ls -d "$WORK"/tmp/*)
for n in $(seq 1 10); do cat "$DIR/levels/level$n.txt"; done | cmp -s - <(tail -n +2 "$WORK/day.zvpack") ||
  fail "the game was not handed the day's ten levels"

# How far the window's picture is from a backdrop of the private directory (RMSE, 0 to 1).
distance() {
  import -window "$WID" "$WORK/shot.png" 2>/dev/null || { echo 1; return; }
  compare -metric RMSE "$WORK/shot.png" "$DIR/images/$1" null: 2>&1 | sed 's/.*(\(.*\))/\1/'
}
wait_colour 512 384 0,200,0 10 "title"
click
wait_colour 512 384 200,0,0 10 "instructions"
click
# The route's keys, held in real time: "R282 L155 R129" is frames at 60 a second.
for step in $ROUTE; do
  frames=${step:1}
  case ${step:0:1} in L) arrow=Left ;; R) arrow=Right ;; *) arrow="" ;; esac
  [ -n "$arrow" ] && xdotool keydown --window "$WID" "$arrow"
  sleep "$(awk "BEGIN { print $frames / 60 }")"
  [ -n "$arrow" ] && xdotool keyup --window "$WID" "$arrow"
done
deadline=$((SECONDS + 10))
until [ -e "$DIR/images/level2bg.png" ] &&
      awk "BEGIN { exit !($(distance level2bg.png) * 2 < $(distance level1bg.png)) }"; do
  [ $SECONDS -ge $deadline ] && fail "the day's level 1 route did not reach level 2"
  sleep 0.3
done
key Escape
expect_exit 0 10

TMPDIR="$WORK/tmp" "$PLAY_BIN" --game /bin/false --data "$WORK/data" --daily 2026-02-30 >"$WORK/stdout" 2>"$WORK/stderr"
status=$?
[ "$status" -eq 1 ] && grep -qF '"2026-02-30" is not a date' "$WORK/stderr" || fail "a day not in the calendar: $status, $(cat "$WORK/stderr")"
echo "daily play: ok"
