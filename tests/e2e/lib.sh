# Helpers for end-to-end runs of the real game binary under Xvfb, driven by real X input events.
# Sourced by the scenario scripts; each scenario makes its own temporary game directory.
set -u

GAME_BIN=${GAME_BIN:?GAME_BIN must name the game binary}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-e2e.XXXXXX")
GAME_PID=""
WID=""
# No sound card in a test run: SDL's silent driver keeps the audio library from probing hardware.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
trap 'cleanup' EXIT

cleanup() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill -9 "$GAME_PID" 2>/dev/null; fi
  rm -rf "$WORK"
}

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/stdout" ] && { echo "--- game stdout:"; cat "$WORK/stdout"; } >&2
  [ -f "$WORK/stderr" ] && { echo "--- game stderr:"; cat "$WORK/stderr"; } >&2
  exit 1
}

# A solid-colour PNG: solid NAME COLOUR [SIZE]
solid() { convert -size "${3:-64x64}" "xc:$2" "PNG32:$WORK/game/images/$1"; }

# The game directory with solid-colour pictures: every sprite its own colour.
make_game_dir() {
  mkdir -p "$WORK/game/levels" "$WORK/game/images" "$WORK/game/audio"
  cp "$GAME_BIN" "$WORK/game/zarvolith"
  solid titlescreen.png '#00c800' 256x256
  solid instructions.png '#c80000' 256x256
  solid background.png '#282828' 256x256
  solid glider.png '#ffffff'
  solid glider_c.png '#ffff00'
  solid fire1.png '#ff8000'
  solid fire2.png '#8000ff'
  solid escape.png '#00ffff'
  solid lost.png '#ff00ff'
  solid heat.png '#ffffff'
  for c in red blue green gray white black; do solid "$c.png" "$c"; done
}

# A level file from rows given as arguments (15 rows, missing ones empty): level N ROW...
level() {
  local n=$1; shift
  local file="$WORK/game/levels/level$n.txt" i
  : > "$file"
  for i in $(seq 0 14); do
    if [ $# -gt 0 ]; then printf '%s\n' "$1" >> "$file"; shift; else printf '\n' >> "$file"; fi
  done
}

start_game() {
  (cd "$WORK/game" && exec ./zarvolith >"$WORK/stdout" 2>"$WORK/stderr") &
  GAME_PID=$!
  WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zarvolith$' 2>/dev/null | head -n 1)
  [ -n "$WID" ] || fail "the game window did not appear"
}

# Colour of window pixel (x, y) as "r,g,b".
pixel() {
  import -window "$WID" -crop "1x1+$1+$2" +repage "$WORK/pixel.png" 2>/dev/null || { echo "none"; return; }
  convert "$WORK/pixel.png" -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

# Waits up to SECONDS for pixel (x, y) to be within 8 of r,g,b: wait_colour X Y R,G,B SECONDS WHAT
wait_colour() {
  local deadline=$((SECONDS + $4)) got
  while :; do
    got=$(pixel "$1" "$2")
    if near "$got" "$3"; then return 0; fi
    [ $SECONDS -ge $deadline ] && fail "$5: pixel ($1,$2) is $got, expected $3"
    sleep 0.2
  done
}

near() {
  local IFS=,
  local a=($1) b=($2) i d
  [ ${#a[@]} -eq 3 ] || return 1
  for i in 0 1 2; do
    d=$((a[i] - b[i])); d=${d#-}
    [ "$d" -le 8 ] || return 1
  done
}

click() { xdotool mousemove --window "$WID" 512 384 click 1; }
key() { xdotool key --window "$WID" "$1"; }

# Waits for the game to end and checks its exit status: expect_exit STATUS SECONDS
expect_exit() {
  local deadline=$((SECONDS + $2))
  while kill -0 "$GAME_PID" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && fail "the game did not end"
    sleep 0.1
  done
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
