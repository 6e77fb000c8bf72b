#!/usr/bin/env bash
# One damaged-data case against the real game: damaged_data.sh CASE
# Each case builds a full game directory, damages or removes part of it, plays what is left (title,
# instructions, a level, the lost picture, a restart, a burst of hostile input), ends with Escape
# and checks the exit status and every byte the game wrote to standard output and standard error.
. "$(dirname "$0")/robust_lib.sh"
CASE=${1:?which case}
IMAGES="$WORK/game/images"
AUDIO="$WORK/game/audio"
LEVELS="$WORK/game/levels"

# The untouched directory: shows the colours the damaged cases are compared with.
case_intact() {
  play_burn_level $TITLE_RGB $INSTRUCTIONS_RGB $LEVEL1_RGB $GLIDER_RGB $LOST_RGB
  expect_stdout
  expect_libpng_errors 0
}

# Without pictures everything draws as plain white, and the game plays on.
case_no_images() {
  rm -rf "$IMAGES"
  play_burn_level $WHITE_RGB $WHITE_RGB $WHITE_RGB $WHITE_RGB $WHITE_RGB
  expect_stdout
  expect_libpng_errors 0
}

case_no_audio() {
  rm -rf "$AUDIO"
  play_burn_level $TITLE_RGB $INSTRUCTIONS_RGB $LEVEL1_RGB $GLIDER_RGB $LOST_RGB
  expect_stdout
  expect_libpng_errors 0
}

# Without a first level the game is won at once: the background and the escape picture show,
# buttons do nothing, and Escape still ends it.
case_no_levels() {
  rm -rf "$LEVELS"
  start_game
  wait_colour $BACKDROP_XY $BACKGROUND_RGB 10 "background picture"
  wait_colour $OVERLAY_XY $ESCAPE_RGB 10 "escape picture"
  click
  poke
  click
  expect_alive "after clicks on a won game"
  wait_colour $OVERLAY_XY $ESCAPE_RGB 2 "escape picture after the input"
  quit_with_escape
  expect_stdout
  expect_libpng_errors 0
}

# Empty files are not PNGs at all: they fail silently and draw white. The screen, a sprite and the
# won/lost picture are empty; the backdrop stays.
case_empty_png() {
  : > "$IMAGES/titlescreen.png"
  : > "$IMAGES/glider.png"
  : > "$IMAGES/lost.png"
  : > "$IMAGES/fire1.png"
  play_burn_level $WHITE_RGB $INSTRUCTIONS_RGB $LEVEL1_RGB $WHITE_RGB $WHITE_RGB
  expect_stdout
  expect_libpng_errors 0
}

# Cut-off files: libpng reports each one that still has its signature, once per load. The
# instructions, both backdrops and two sprites are cut in half, one sprite keeps only 5 bytes
# (no signature: silent), one keeps its signature and header only, and one has a flipped byte in
# its image data.
case_truncated_png() {
  truncate_half "$IMAGES/instructions.png"
  truncate_half "$IMAGES/background.png"
  truncate_half "$IMAGES/level1bg.png"
  truncate_half "$IMAGES/escape.png"
  truncate_half "$IMAGES/fire1.png"
  truncate_to "$IMAGES/fire2.png" 5
  truncate_to "$IMAGES/heat.png" 33
  local idat
  idat=$(grep -bao IDAT "$IMAGES/red.png" | head -n 1 | cut -d: -f1)
  printf '\xff' | dd of="$IMAGES/red.png" bs=1 seek=$((idat + 6)) conv=notrunc status=none
  play_burn_level $TITLE_RGB $WHITE_RGB $WHITE_RGB $GLIDER_RGB $LOST_RGB
  expect_stdout
  # At start: background, instructions, level 1 backdrop, escape, fire1, heat, red; the restart
  # loads the level 1 backdrop again.
  expect_libpng_errors 8
}

# Headers that claim 100000 by 100000 pixels (beyond the size limit) and 16384 by 16384 (at the
# limit, but far more than a few bytes of data could hold) are refused before any pixel memory is
# taken.
case_huge_png() {
  huge_png "$IMAGES/titlescreen.png" 100000 100000
  huge_png "$IMAGES/level1bg.png" 100000 100000
  huge_png "$IMAGES/instructions.png" 16384 16384
  huge_png "$IMAGES/escape.png" 16384 16384
  play_burn_level $WHITE_RGB $WHITE_RGB $WHITE_RGB $GLIDER_RGB $LOST_RGB
  expect_stdout
  # titlescreen, instructions, escape, level 1 backdrop at start; the backdrop again on the restart.
  expect_libpng_errors 5
  [ "$(grep -c 'Invalid IHDR data' "$WORK/stderr")" -eq 3 ] || fail "expected three IHDR refusals"
}

# Empty and cut-off sounds are refused silently. Level 1 leads by an exit into level 2, which
# starts the fire sound. SDL's disk driver records what is mixed: sound with whole files, silence
# with damaged ones.
case_damaged_mp3() {
  case "$1" in
    whole) ;;
    empty) : > "$AUDIO/backgroundmusic.mp3"; : > "$AUDIO/fire.mp3" ;;
    truncated) truncate_half "$AUDIO/backgroundmusic.mp3"; truncate_to "$AUDIO/fire.mp3" 1000 ;;
  esac
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/mixed.raw"
  exit_level 1
  burn_level 2
  start_game
  wait_colour $SCREEN_XY $TITLE_RGB 10 "title picture"
  click
  click
  wait_colour $BACKDROP_XY $LEVEL1_RGB 10 "level 1 backdrop"
  wait_colour $BACKDROP_XY $LEVEL2_RGB 10 "level 2 backdrop after the exit"
  wait_colour $RESTING_GLIDER_XY $GLIDER_RGB 10 "glider resting in level 2"
  poke
  quit_with_escape
  expect_stdout
  expect_libpng_errors 0
  [ -s "$WORK/mixed.raw" ] || fail "the disk audio driver recorded nothing"
  local loud
  loud=$(tr -d '\0' < "$WORK/mixed.raw" | head -c 1 | wc -c)
  if [ "$1" = whole ]; then
    [ "$loud" -eq 1 ] || fail "whole sound files played nothing"
  else
    [ "$loud" -eq 0 ] || fail "damaged sound files were played"
  fi
}
case_whole_mp3() { case_damaged_mp3 whole; }
case_empty_mp3() { case_damaged_mp3 empty; }
case_truncated_mp3() { case_damaged_mp3 truncated; }

# A directory where the first level file should be: the loader reports it once, the level is
# empty (the glider falls from the middle of the screen) and the backdrop shows.
case_level_is_directory() {
  rm -f "$LEVELS/level1.txt"
  mkdir "$LEVELS/level1.txt"
  start_game
  wait_colour $SCREEN_XY $TITLE_RGB 10 "title picture"
  click
  click
  wait_colour $BACKDROP_XY $LEVEL1_RGB 10 "level 1 backdrop"
  poke
  quit_with_escape
  expect_stdout "Exception raised loading level: End of level file reached prematurely."
  expect_libpng_errors 0
}

# Reached through an exit from level 1: a 10 MB single line (only its first 20 characters count:
# the start cell and a fire) and then, on its own, 64 KiB of NUL bytes (one over-long line of
# nothing: an empty level). Neither ends early, so neither is reported.
case_long_line_level() {
  exit_level 1
  { printf '          g3'; head -c 10485760 /dev/zero | tr '\0' 'G'; } > "$LEVELS/level2.txt"
  play_level2_damaged
}
case_nul_level() {
  exit_level 1
  head -c 65536 /dev/zero > "$LEVELS/level2.txt"
  play_level2_damaged
}
play_level2_damaged() {
  start_game
  wait_colour $SCREEN_XY $TITLE_RGB 10 "title picture"
  click
  click
  wait_colour $BACKDROP_XY $LEVEL1_RGB 10 "level 1 backdrop"
  wait_colour $BACKDROP_XY $LEVEL2_RGB 10 "level 2 backdrop after the exit"
  poke
  sleep 1
  expect_alive "a second into the damaged level"
  quit_with_escape
  expect_stdout
  expect_libpng_errors 0
}

# Ctrl+C in the terminal (SIGINT) and a polite kill (SIGTERM, as a desktop session sends when it
# logs out) end the game, whatever the sound library did at start-up.
case_signals() {
  local signal number status
  for signal in INT TERM; do
    start_game
    wait_colour $SCREEN_XY $TITLE_RGB 10 "title picture"
    click
    wait_colour $SCREEN_XY $INSTRUCTIONS_RGB 10 "instructions picture"
    kill -s "$signal" "$GAME_PID"
    number=$(kill -l "$signal")
    local deadline=$((SECONDS + 5))
    while kill -0 "$GAME_PID" 2>/dev/null; do
      [ $SECONDS -ge $deadline ] && fail "SIG$signal did not end the game"
      sleep 0.1
    done
    wait "$GAME_PID"
    status=$?
    GAME_PID=""
    [ "$status" -eq 0 ] || [ "$status" -eq $((128 + number)) ] ||
      fail "SIG$signal ended the game with status $status"
    expect_stdout
    expect_libpng_errors 0
  done
}

make_full_game_dir
declare -F "case_$CASE" >/dev/null || fail "no case named $CASE"
"case_$CASE"
echo "$CASE: ok"
