#!/usr/bin/env bash
# Soak run: the real game under Xvfb takes SECONDS of random X input (keys, every mouse button,
# the wheel, drags and motion in and out of the window, resize requests) over ten short levels that
# exit, crash and burn, so it passes through the title, the instructions, play, level changes,
# losses, restarts and the won game again and again. At the end the window must still answer and
# Escape must end the game with status 0.
#
#   tools/dev/soak/soak.sh [SECONDS] [GAME_BIN] [plain|asan|valgrind]
#
# SECONDS defaults to 120, GAME_BIN to build/game/zarvolith, the mode to plain. "asan" expects a
# binary built with -DZARVOLITH_SANITIZE=ON and fails on any sanitizer report (leak checks off:
# Mesa's unloaded driver makes them unreadable); "valgrind" runs the binary under memcheck and
# fails on any error or definite leak that memcheck_triage.sh (next to this script) traces to the game's own
# sources, listing the ones inside libraries. The screen is read between bursts of input, and
# buttons are held back while the lost picture shows (a button then ends the game by design); a
# game that still ends on a button, because the glider crashed between the reading and the press,
# must end with status 0 and is counted, and a new one starts. A won game gets Escape after a few
# seconds and a new one starts; the last game gets Escape when the time is up.
#
# Environment: SOAK_SEED fixes the random input; SOAK_LOG_DIR keeps the games' output, memcheck's
# logs and the input timeline; SOAK_VERBOSE prints the input before each game that ended on a
# button; SOAK_LEVELS=safe plays one level where nothing can be lost, so any end but Escape fails.
# Without a DISPLAY the script runs itself under tools/dev/with-xvfb.sh.
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
TOOLS=$(cd "$HERE/.." && pwd)
SOAK_SECONDS=${1:-120}
GAME_BIN=$(realpath "${2:-$TOOLS/../../build/game/zarvolith}")
MODE=${3:-plain}
if [ -z "${DISPLAY:-}" ]; then exec "$TOOLS/with-xvfb.sh" "$0" "$SOAK_SECONDS" "$GAME_BIN" "$MODE"; fi
[ -x "$GAME_BIN" ] || { echo "soak: no game binary at $GAME_BIN" >&2; exit 2; }
case "$MODE" in plain|asan|valgrind) ;; *) echo "soak: unknown mode $MODE" >&2; exit 2 ;; esac

SEED=${SOAK_SEED:-$(( $(date +%s) % 32768 ))}
RANDOM=$SEED
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-soak.XXXXXX")
GAME="$WORK/game"
GAME_PID=""
WID=""
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# Window pixels the state is read from: a backdrop corner and the middle of the won/lost picture
# (the title and instructions cover both).
PROBE_CROP=413x310+100+100
# How long the window may take to appear, and a game to end after Escape, seconds. Memcheck runs
# Mesa's software renderer many times slower.
START_TIMEOUT=20
END_TIMEOUT=15
WRAPPER=()
MEMCHECK_STATUS=99
case "$MODE" in
  asan)
    export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    START_TIMEOUT=40
    ;;
  valgrind)
    START_TIMEOUT=300
    END_TIMEOUT=120
    WRAPPER=(valgrind --error-exitcode="$MEMCHECK_STATUS" --leak-check=full --show-leak-kinds=definite
             --errors-for-leak-kinds=definite --num-callers=40
             --suppressions="$HERE/valgrind.supp" --log-file="$WORK/valgrind.%p.log")
    ;;
esac

# Every X client call runs under a time limit, so a stuck tool cannot stall the run; a call that
# hits the limit is reported on the script's own standard error (fd 3) and counted.
exec 3>&2
X() {
  timeout 10 "$@"
  local status=$?
  if [ $status -eq 124 ]; then
    echo "soak: an X call took over 10 s: $*" >&3
    echo "$*" >> "$WORK/x_timeouts"
  fi
  return $status
}

declare -A COUNT=()
count() { COUNT[$1]=$(( ${COUNT[$1]:-0} + ${2:-1} )); }
declare -A SEEN=()   # states and levels seen by the probe
HELD=()              # keys held down at the moment
GAMES=0

# SOAK_LOG_DIR, when set, receives the games' output, memcheck's logs and the input timeline.
cleanup() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill -9 "$GAME_PID" 2>/dev/null; fi
  if [ -n "${SOAK_LOG_DIR:-}" ]; then
    mkdir -p "$SOAK_LOG_DIR"
    cp "$WORK"/game-*.out "$WORK"/game-*.err "$WORK"/valgrind.*.log "$WORK"/timeline "$SOAK_LOG_DIR"/ 2>/dev/null
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "SOAK FAIL (seed $SEED, game $GAMES): $*" >&2
  local f
  for f in "$WORK"/game-*.out "$WORK"/game-*.err "$WORK"/valgrind.*.log; do
    [ -s "$f" ] && { echo "--- $f"; tail -n 60 "$f"; } >&2
  done
  report >&2
  exit 1
}

# --- The game directory ---------------------------------------------------------------------------

solid() { convert -size "${3:-64x64}" "xc:$2" "PNG32:$GAME/images/$1"; }

# A level file walled in by hazards down both sides: level N ROW... (15 rows, missing ones empty).
# The glider has no way off the screen, where it would fall for ever and stall the run.
level() {
  local n=$1 i row; shift
  for i in $(seq 0 14); do
    row=""
    if [ $# -gt 0 ]; then row=$1; shift; fi
    row=$(printf '%-20s' "$row")
    printf 'H%sH\n' "${row:1:18}"
  done > "$GAME/levels/level$n.txt"
}

# Level N's backdrop colour: red 20 * N, green 100, blue 50.
backdrop_rgb() { echo "$(( 20 * $1 )),100,50"; }

# Ten short levels, every path ending on an exit, a hazard or a fire. Level 11 does not exist, so the exit
# from level 10 wins the game.
make_levels() {
  local exits="HGGGGGGGGGGGGGGGGGGH"
  if [ "${SOAK_LEVELS:-}" = safe ]; then
    # Control run: one level where nothing can be lost or won (the glider slides on a floor
    # between two walls), so any end of the game but Escape is a fault.
    { printf '\n%.0s' $(seq 1 13); printf '%s\n' ')         g        (' '))))))))))((((((((((' ; } \
      > "$GAME/levels/level1.txt"
    return
  fi
  level 1 "" "          g" "" "" "$exits"                                     # always exits
  level 2 "" "          g" "" "" "HGGGGGGGGG[[GGGGGGGH"                      # crashes unless steered
  level 3 "" "          g" "" "" "H[[[[[GGGGGGGG[[[[[H"                      # exits unless steered off
  level 4 "" "" "" "" "        g" "          3" "" "" "" "$exits"             # steering right burns
  level 5 "" "          g" "" "" "" "" "            3" "" "" "$exits"         # a lift beside the path
  level 6 "" "" "" "" "" "" "" "" "" "" "" "          g" "        ((()))3" "" "$exits"  # slide off or burn
  level 7 "" "          g" "" "" "" "" "HUn+-GGGGGGGGGG=T_[H"                  # every hazard kind
  level 8 "" "          g" "" "" "" "" "H[[[[[[[[GG[[[[[[[[H"                  # a narrow exit
  level 9 "" "          g" "" "   4" "$exits"                               # a tall fire to the side
  level 10 "" "          g" "" "" "$exits"                                  # exits: the game is won
}

make_game_dir() {
  mkdir -p "$GAME/levels" "$GAME/images" "$GAME/audio"
  cp "$GAME_BIN" "$GAME/zarvolith"
  solid titlescreen.png '#00c800' 256x256
  solid instructions.png '#c80000' 256x256
  solid background.png '#282828' 256x256
  solid glider.png '#0080ff'
  solid glider_c.png '#ffff00'
  solid fire1.png '#ff8000'
  solid fire2.png '#8000ff'
  solid escape.png '#00ffff'
  solid lost.png '#ff00ff'
  solid heat.png '#ffffff'
  local c n
  for c in red blue green gray white black; do solid "$c.png" "$c"; done
  for n in $(seq 1 10); do solid "level${n}bg.png" "rgb($(backdrop_rgb "$n"))" 256x256; done
  yes $'\x00\x30\x00\xd0' | head -c 44100 |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m m - "$GAME/audio/backgroundmusic.mp3" 2>/dev/null
  cp "$GAME/audio/backgroundmusic.mp3" "$GAME/audio/fire.mp3"
  make_levels
}

# --- Reading the screen -----------------------------------------------------------------------------

near() {
  local IFS=,
  local a=($1) b=($2) i d
  [ ${#a[@]} -eq 3 ] || return 1
  for i in 0 1 2; do
    d=$((a[i] - b[i])); d=${d#-}
    [ "$d" -le 8 ] || return 1
  done
}

# Prints the state the screen shows: title, instructions, lost, escaped, level<N> or unknown
# (a glider or a flame over the probe pixels), or none when the window gives no picture.
probe() {
  local shot="$WORK/probe.png" both corner middle n
  X import -window "$WID" -crop "$PROBE_CROP" +repage "$shot" 2>/dev/null || { echo none; return; }
  both=$(convert "$shot" -format \
    '%[fx:int(255*p{0,0}.r+0.5)],%[fx:int(255*p{0,0}.g+0.5)],%[fx:int(255*p{0,0}.b+0.5)] %[fx:int(255*p{412,309}.r+0.5)],%[fx:int(255*p{412,309}.g+0.5)],%[fx:int(255*p{412,309}.b+0.5)]' \
    info: 2>/dev/null) || { echo none; return; }
  corner=${both% *}
  middle=${both#* }
  if near "$middle" 255,0,255; then echo lost; return; fi
  if near "$middle" 0,255,255; then echo escaped; return; fi
  if near "$middle" 0,200,0 && near "$corner" 0,200,0; then echo title; return; fi
  if near "$middle" 200,0,0 && near "$corner" 200,0,0; then echo instructions; return; fi
  for n in $(seq 1 10); do
    if near "$corner" "$(backdrop_rgb "$n")"; then echo "level$n"; return; fi
  done
  echo unknown
}

# --- One game ---------------------------------------------------------------------------------------

start_game() {
  GAMES=$((GAMES + 1))
  (cd "$GAME" && exec "${WRAPPER[@]}" ./zarvolith >"$WORK/game-$GAMES.out" 2>"$WORK/game-$GAMES.err") &
  GAME_PID=$!
  WID=$(timeout "$START_TIMEOUT" xdotool search --sync --onlyvisible --name '^Zarvolith$' 2>/dev/null | head -n 1)
  [ -n "$WID" ] || fail "the game window did not appear"
  HELD=()
  count games_started
}

# Everything a game wrote must be empty: the levels and pictures are whole, so the game has
# nothing to say, and a sanitizer has nothing to report.
check_game_output() {
  local out="$WORK/game-$GAMES.out" err="$WORK/game-$GAMES.err"
  [ ! -s "$out" ] || fail "the game wrote to standard output"
  if [ -s "$err" ]; then
    count sanitizer_reports "$(grep -cE 'ERROR: AddressSanitizer|runtime error:|UndefinedBehaviorSanitizer' "$err")"
    fail "the game wrote to standard error"
  fi
}

# Status 0, or under memcheck its "something to report" status: the logs are sorted at the end.
status_is_clean() { [ "$1" = 0 ] || { [ "$MODE" = valgrind ] && [ "$1" = "$MEMCHECK_STATUS" ]; }; }

# Waits for the game to end and leaves its status in EXIT_STATUS ("timeout" if it does not end).
wait_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$GAME_PID" 2>/dev/null; do
    if [ $SECONDS -ge "$deadline" ]; then EXIT_STATUS=timeout; return; fi
    sleep 0.1
  done
  wait "$GAME_PID"
  EXIT_STATUS=$?
}

# Escape ends the game with status 0.
end_with_escape() {
  release_all
  X xdotool key --window "$WID" Escape 2>/dev/null
  count escape
  wait_exit "$END_TIMEOUT"
  status_is_clean "$EXIT_STATUS" || fail "Escape ended the game with status $EXIT_STATUS"
  GAME_PID=""
  check_game_output
}

# --- Random input -------------------------------------------------------------------------------------

KEYS=(Left Right Left Right Up Up Down a s d w x q z p space Return KP_Enter Tab BackSpace Delete
      1 0 F1 F5 Home End Prior Next Insert Shift_L Control_L Alt_L shift+a KP_Add)
HOLDABLE=(Left Right Left Right Left Right Up Down space a)
BUTTONS=(1 1 1 2 3 4 5 6 7)

# The random helpers set variables instead of printing, so no subshell takes a copy of RANDOM
# and the seed replays the whole run's choices.
# P: a random element of the named array.
pick() { local -n list=$1; P=${list[RANDOM % ${#list[@]}]}; }
# R: a random number in [low, high].
between() { R=$(( $1 + RANDOM % ($2 - $1 + 1) )); }
# XY: a random point in the window ("x y"); SXY: anywhere on the 1280 by 1024 screen.
window_point() { between 0 1023; XY=$R; between 0 767; XY="$XY $R"; }
screen_point() { between 0 1279; SXY=$R; between 0 1023; SXY="$SXY $R"; }

# A burst is built as one chain of xdotool commands (CHAIN) and sent in one call, which keeps the
# input rate up. Each add_* appends one action and counts it.
add_keys() {
  local n i
  between 1 4; n=$R
  between 0 60
  CHAIN+=(key --window "$WID" --delay "$R")
  for ((i = 0; i < n; i++)); do pick KEYS; CHAIN+=("$P"); done
  count keys "$n"
}

add_key_down() {
  pick HOLDABLE
  CHAIN+=(keydown --window "$WID" "$P")
  HELD+=("$P")
  count key_downs
}

# Releases a held key, or a key that was never pressed.
add_key_up() {
  if [ ${#HELD[@]} -eq 0 ]; then
    pick HOLDABLE
    CHAIN+=(keyup --window "$WID" "$P")
  else
    local i=$((RANDOM % ${#HELD[@]}))
    CHAIN+=(keyup --window "$WID" "${HELD[i]}")
    HELD=("${HELD[@]:0:i}" "${HELD[@]:i+1}")
  fi
  count key_ups
}

release_all() {
  local k
  for k in "${HELD[@]}"; do X xdotool keyup --window "$WID" "$k" 2>/dev/null; count key_ups; done
  HELD=()
}

# Motion inside the window, or to anywhere on the screen (mostly outside the window).
add_move() {
  if (( RANDOM % 2 )); then
    window_point
    CHAIN+=(mousemove --window "$WID" $XY)
  else
    screen_point
    CHAIN+=(mousemove $SXY)
  fi
  count motions
}

add_click() {
  pick BUTTONS
  window_point
  BUTTON_CHAIN+=(mousemove --window "$WID" $XY click "$P")
  count "clicks_button_$P"
  count motions
  CLICKED=1
}

# Press inside, drag in and out of the window, release wherever the pointer ends up.
add_drag() {
  local via
  pick BUTTONS
  window_point
  screen_point; via=$SXY
  BUTTON_CHAIN+=(mousemove --window "$WID" $XY mousedown "$P" mousemove $via)
  screen_point
  BUTTON_CHAIN+=(mousemove $SXY mouseup "$P")
  count drags
  count motions 3
  CLICKED=1
}

# Any size from 1 by 1 to twice the screen; the game asks for its own size back.
add_resize() {
  local w
  between 1 2560; w=$R
  between 1 2048
  CHAIN+=(windowsize "$WID" "$w" "$R")
  count resizes
}

add_pause() {
  between 10 300
  CHAIN+=(sleep "$(printf '0.%03d' "$R")")
  count pauses
}

# One burst of input. Buttons are only pressed while the lost picture is not showing, since a
# button during a loss ends the game by design: they go first in the burst, straight after the
# screen was read, to keep the time in which the glider can crash unseen short. During a loss Up
# (restart) comes often.
STATE=none
CLICKED=0
burst() {
  local n i r
  CHAIN=()
  BUTTON_CHAIN=()
  between 2 12; n=$R
  for ((i = 0; i < n; i++)); do
    r=$((RANDOM % 100))
    if [ "$STATE" = lost ] && (( r < 40 )); then
      CHAIN+=(key --window "$WID" Up); count keys; count up_in_lost
    elif (( r < 28 )); then add_keys
    elif (( r < 40 )); then add_key_down
    elif (( r < 52 )); then add_key_up
    elif (( r < 68 )); then add_move
    elif (( r < 72 )); then add_resize
    elif (( r < 88 )) && [ "$STATE" != lost ]; then add_click
    elif (( r < 92 )) && [ "$STATE" != lost ]; then add_drag
    else add_pause
    fi
  done
  # A chain aimed at a window that goes away mid-way stops with an X error: expected when a
  # button ends a lost game.
  echo "$((SECONDS - RUN_START))s $STATE: ${BUTTON_CHAIN[*]} ${CHAIN[*]}" >> "$WORK/timeline"
  X xdotool "${BUTTON_CHAIN[@]}" "${CHAIN[@]}" >/dev/null 2>&1
  count bursts
}

# --- The run ----------------------------------------------------------------------------------------

report() {
  local k
  echo "soak: mode $MODE, seed $SEED, ${SOAK_SECONDS}s asked, $((SECONDS - RUN_START))s run, binary $GAME_BIN"
  echo "soak: games $GAMES; screen states seen: $(for k in "${!SEEN[@]}"; do printf '%s=%s ' "$k" "${SEEN[$k]}"; done | tr ' ' '\n' | sort -V | tr '\n' ' ')"
  echo "soak: events: $(for k in "${!COUNT[@]}"; do printf '%s=%s ' "$k" "${COUNT[$k]}"; done | tr ' ' '\n' | sort | tr '\n' ' ')"
  local total=0
  for k in keys key_downs key_ups motions resizes drags clicks_button_1 clicks_button_2 clicks_button_3 \
           clicks_button_4 clicks_button_5 clicks_button_6 clicks_button_7; do
    total=$((total + ${COUNT[$k]:-0}))
  done
  echo "soak: input events sent: $total"
  [ -f "$WORK/x_timeouts" ] && echo "soak: X calls that hit the time limit: $(grep -c '' "$WORK/x_timeouts")"
  return 0
}

# The window must answer at the end: it gives a picture back, takes its own size again after a
# resize request, and the state moves on with input (title and instructions with a click, a loss
# with Up); a level being played or won is seen to keep drawing by the size coming back.
final_check() {
  release_all
  local size="" state before
  state=$(probe)
  [ "$state" != none ] || fail "the window gives no picture back at the end"
  X xdotool windowsize "$WID" 640 480 2>/dev/null
  for _ in $(seq 1 $((END_TIMEOUT * 10))); do
    sleep 0.1
    size=$(X xwininfo -id "$WID" 2>/dev/null | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
    [ "$size" = "1024x768" ] && break
  done
  [ "$size" = "1024x768" ] || fail "the window stayed $size after a resize request at the end"
  before=$(probe)
  case "$before" in
    title|instructions)
      X xdotool mousemove --window "$WID" 512 384 click 1 2>/dev/null ;;
    lost)
      X xdotool key --window "$WID" Up 2>/dev/null ;;
  esac
  case "$before" in
    title|instructions|lost)
      local after=$before
      for _ in $(seq 1 $((END_TIMEOUT * 5))); do
        after=$(probe)
        [ "$after" != "$before" ] && break
        sleep 0.2
      done
      [ "$after" != "$before" ] || fail "the screen stayed $before after input at the end"
      echo "soak: final check: $before -> $after after input" ;;
    *)
      echo "soak: final check: $before, window size restored after a resize request" ;;
  esac
}

make_game_dir
echo "soak: mode $MODE, seed $SEED, $SOAK_SECONDS s, binary $GAME_BIN"
RUN_START=$SECONDS
start_game
LAST_STATE=none
ESCAPED_SINCE=""
while [ $((SECONDS - RUN_START)) -lt "$SOAK_SECONDS" ]; do
  if ! kill -0 "$GAME_PID" 2>/dev/null; then
    # The only way out without Escape is a button during a loss, which the probe can miss when
    # the glider crashes between the probe and the click.
    wait "$GAME_PID"
    status=$?
    GAME_PID=""
    status_is_clean "$status" || fail "the game ended with status $status"
    [ "$CLICKED" = 1 ] || fail "the game ended without a button press or Escape"
    [ "${SOAK_LEVELS:-}" != safe ] || fail "the game ended where no loss is possible"
    check_game_output
    count games_ended_by_a_button_during_a_loss
    if [ -n "${SOAK_VERBOSE:-}" ]; then echo "soak: game $GAMES ended on a button; input just before:"; tail -n 3 "$WORK/timeline"; fi
    start_game
    STATE=none
    continue
  fi
  STATE=$(probe)
  # A game that ends on a button takes a moment to go; until the screen is seen again, the last
  # button still explains an exit.
  [ "$STATE" != none ] && CLICKED=0
  SEEN[$STATE]=$(( ${SEEN[$STATE]:-0} + 1 ))
  count probes
  if [[ $LAST_STATE == level* && $STATE == level* && $STATE != "$LAST_STATE" ]]; then count level_changes; fi
  if [[ $LAST_STATE == lost && $STATE == level* ]]; then count restarts_seen; fi
  LAST_STATE=$STATE
  if [ "$STATE" = escaped ]; then
    # A won game takes a few seconds of input (buttons do nothing now), then Escape and a new game.
    [ -z "$ESCAPED_SINCE" ] && ESCAPED_SINCE=$SECONDS && count games_won
    if [ $((SECONDS - ESCAPED_SINCE)) -ge 3 ] && [ $((SECONDS - RUN_START)) -lt $((SOAK_SECONDS - 5)) ]; then
      end_with_escape
      ESCAPED_SINCE=""
      start_game
      STATE=none
      continue
    fi
  else
    ESCAPED_SINCE=""
  fi
  burst
done

final_check
end_with_escape
report

if [ "$MODE" = valgrind ]; then
  errors=0
  for log in "$WORK"/valgrind.*.log; do
    n=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log" | tail -n 1)
    errors=$((errors + ${n:-0}))
    echo "soak: memcheck $(basename "$log"): $(grep -E 'Command:|ERROR SUMMARY|definitely lost:' "$log" | sed 's/^==[0-9]*== *//' | tr '\n' ' ')"
  done
  read -r ours_leaks ours_errors lib_leaks lib_errors < <("$HERE/memcheck_triage.sh" "$WORK"/valgrind.*.log 2>"$WORK/triage")
  sed 's/^/soak: memcheck: /' "$WORK/triage"
  echo "soak: memcheck records after suppressions: $errors; in our code: $ours_leaks definite leaks, $ours_errors errors; inside libraries: $lib_leaks definite leaks, $lib_errors errors"
  [ $((ours_leaks + ours_errors)) -eq 0 ] || fail "memcheck found faults in the game's own code"
fi
echo "soak: ok"
