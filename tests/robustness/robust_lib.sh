# Helpers for the damaged-data runs: the real game binary under Xvfb, a full game directory of
# solid-colour pictures, small levels and short MP3s, and ways to damage any of them.
# Builds on the end-to-end helpers (start_game, pixel, wait_colour, click, key, expect_exit).
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# Colours the checks look for, as "r,g,b".
TITLE_RGB=0,200,0
INSTRUCTIONS_RGB=200,0,0
BACKGROUND_RGB=40,40,40
LEVEL1_RGB=0,0,160
LEVEL2_RGB=160,160,0
GLIDER_RGB=0,128,255
LOST_RGB=255,0,255
ESCAPE_RGB=0,255,255
WHITE_RGB=255,255,255

# Window pixels: the middle of the screen pictures, a corner of the backdrop, the middle of the
# won/lost picture, and the centre of a glider resting on the floor of column 10 (world 2.5, 5).
SCREEN_XY="512 384"
BACKDROP_XY="100 100"
OVERLAY_XY="512 409"
RESTING_GLIDER_XY="537 716"

# The start cell sits on a floor whose 14th cell is a fire: Right slides the glider into the fire.
burn_level() {
  level "$1" "" "" "" "" "" "" "" "" "" "" "" "" "" "          g" "))))))))))))))3)))))"
}
# The start cell three rows above a row of exits.
exit_level() { level "$1" "" "          g" "" "" "GGGGGGGGGGGGGGGGGGGG"; }

# A short MP3 (about half a second of a square wave): mp3 FILE
mp3() {
  yes $'\x00\x30\x00\xd0' | head -c 44100 |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m m - "$1" 2>/dev/null ||
    fail "lame could not make $1"
}

# Every picture, level 1 and 2 backdrops, the music and the fire sound, and a burn level 1.
make_full_game_dir() {
  make_game_dir
  solid glider.png '#0080ff'
  solid background.png '#282828' 256x256
  solid level1bg.png '#0000a0' 256x256
  solid level2bg.png '#a0a000' 256x256
  mp3 "$WORK/game/audio/backgroundmusic.mp3"
  mp3 "$WORK/game/audio/fire.mp3"
  burn_level 1
}

# Keeps the first BYTES bytes of a file: truncate_to FILE BYTES
truncate_to() { truncate -s "$2" "$1"; }

# Half of a file, rounded down.
truncate_half() { truncate_to "$1" $(( $(stat -c %s "$1") / 2 )); }

# CRC-32 (the one PNG chunks carry) of the bytes given as hex pairs, printed as 8 hex digits.
crc32() {
  local crc=$((0xFFFFFFFF)) byte bit
  for byte in "$@"; do
    crc=$(( crc ^ 0x$byte ))
    for bit in 1 2 3 4 5 6 7 8; do
      if (( crc & 1 )); then crc=$(( (crc >> 1) ^ 0xEDB88320 )); else crc=$(( crc >> 1 )); fi
    done
  done
  printf '%08x' $(( crc ^ 0xFFFFFFFF ))
}

# Hex pairs of a 32-bit big-endian number.
be32() { printf '%08x' "$1" | sed 's/../& /g'; }

# Writes hex pairs as bytes.
hex_bytes() { local b; for b in "$@"; do printf "\\x$b"; done; }

# One PNG chunk: chunk TYPE-HEX... -- DATA-HEX...
chunk() {
  local type=() data=()
  while [ "$1" != "--" ]; do type+=("$1"); shift; done
  shift
  data=("$@")
  hex_bytes $(be32 ${#data[@]}) "${type[@]}" "${data[@]}" $(crc32 "${type[@]}" "${data[@]}" | sed 's/../& /g')
}

# A PNG whose header claims WIDTH by HEIGHT 8-bit RGBA pixels, followed by a few bytes of image
# data and the end chunk, every CRC correct: huge_png FILE WIDTH HEIGHT
huge_png() {
  {
    hex_bytes 89 50 4e 47 0d 0a 1a 0a
    chunk 49 48 44 52 -- $(be32 "$2") $(be32 "$3") 08 06 00 00 00
    chunk 49 44 41 54 -- 78 9c 63 60 00 00 00 02 00 01
    chunk 49 45 4e 44 --
  } > "$1"
}

# Standard output must hold exactly the given lines (none when no argument).
expect_stdout() {
  local expected=""
  [ $# -gt 0 ] && expected=$(printf '%s\n' "$@")
  [ "$(cat "$WORK/stdout")" = "$expected" ] || fail "standard output differs from: $expected"
}

# Standard error must hold exactly COUNT lines, each one of libpng's "libpng error: ..." lines.
expect_libpng_errors() {
  local count
  count=$(grep -c '' "$WORK/stderr")
  [ "$count" -eq "$1" ] || fail "standard error has $count lines, expected $1 libpng lines"
  if grep -qv '^libpng error: ' "$WORK/stderr"; then fail "standard error has a line that is not libpng's"; fi
}

# The process still runs and its window still gives a picture back.
expect_alive() {
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game died ($1)"
  [ "$(pixel 10 10)" != none ] || fail "the window gave no picture back ($1)"
}

# A hostile handful of input that must not end or break the game: keys, the buttons other than
# the first, the wheel, dragging out of the window. Never a click while the lost picture shows.
# The buttons go first: the keys may steer the glider into trouble, and then any button would end
# the game by design.
poke() {
  local k
  xdotool mousemove --window "$WID" 300 300 click 2 click 3 click 4 click 5 click 4
  xdotool mousemove --window "$WID" 1000 20 mousedown 2 mousemove 5 5 mousemove 1270 1010 mouseup 2
  for k in Left Right Down a z space Return BackSpace Tab F1 Delete 1 2; do
    # Without a window manager xdotool warns about the focus on every key; the key still arrives.
    xdotool key --window "$WID" "$k" 2>/dev/null
  done
  sleep 0.3
  expect_alive "after a burst of input"
}

# Escape ends the game with status 0.
quit_with_escape() {
  key Escape
  expect_exit 0 10
}

# The usual run over a game directory: title, instructions, the burn level's backdrop and glider,
# the burn and its lost picture, Up to restart, a burst of input, Escape.
# play_burn_level TITLE INSTRUCTIONS BACKDROP GLIDER LOST (each an "r,g,b" to expect)
play_burn_level() {
  start_game
  wait_colour $SCREEN_XY "$1" 10 "title picture"
  click
  wait_colour $SCREEN_XY "$2" 10 "instructions picture"
  click
  wait_colour $BACKDROP_XY "$3" 10 "level 1 backdrop"
  wait_colour $RESTING_GLIDER_XY "$4" 10 "glider resting on the floor"
  xdotool keydown --window "$WID" Right 2>/dev/null
  # A white lost picture over a white backdrop cannot be told apart: give the slide its time.
  [ "$5" = "$3" ] && sleep 3
  wait_colour $OVERLAY_XY "$5" 10 "lost picture after sliding into the fire"
  xdotool keyup --window "$WID" Right 2>/dev/null
  key Up
  wait_colour $RESTING_GLIDER_XY "$4" 10 "glider back on the floor after Up"
  poke
  quit_with_escape
}
