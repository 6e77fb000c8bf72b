# Shared by the install tests: failure reports, the list of files an install must hold, and a
# run of an installed launcher under the test display.
set -u

BUILD_DIR=${BUILD_DIR:?BUILD_DIR must name the build directory}
SOURCE_DIR=${SOURCE_DIR:?SOURCE_DIR must name the source directory}
GAME_DIR=${GAME_DIR:?GAME_DIR must name the staged game directory}
# Where the stage test leaves its installed tree; the other tests read it.
STAGE=${STAGE:?STAGE must name the staged install directory}
STAGED_PREFIX=$STAGE/usr
APP_ID=io.github.zarvolith.Zarvolith
ICON_SIZES="32 64 128 256"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Every file an install under PREFIX must hold and nothing else, one path a line, sorted:
# expected_files PREFIX
expected_files() {
  local prefix=$1 f size
  {
    echo "$prefix/games/zarvolith"
    echo "$prefix/lib/games/zarvolith/zarvolith"
    echo "$prefix/lib/games/zarvolith/zarvolith-play"
    echo "$prefix/share/applications/zarvolith.desktop"
    echo "$prefix/share/metainfo/$APP_ID.metainfo.xml"
    echo "$prefix/share/man/man6/zarvolith.6.gz"
    for size in $ICON_SIZES; do echo "$prefix/share/icons/hicolor/${size}x$size/apps/zarvolith.png"; done
    for f in "$SOURCE_DIR"/levels/*.txt "$SOURCE_DIR"/levels/*.route; do echo "$prefix/share/games/zarvolith/levels/${f##*/}"; done
    for f in "$GAME_DIR"/images/*.png; do echo "$prefix/share/games/zarvolith/images/${f##*/}"; done
    for f in "$GAME_DIR"/audio/*.mp3; do echo "$prefix/share/games/zarvolith/audio/${f##*/}"; done
    echo "$prefix/share/doc/zarvolith/copyright"
    echo "$prefix/share/doc/zarvolith/changelog.Debian.gz"
    echo "$prefix/share/lintian/overrides/zarvolith"
  } | LC_ALL=C sort
}

# The pictures and sounds the game loads by name; the install must carry each one.
required_data() {
  local name f
  for name in red blue green gray white black glider glider_c fire1 fire2 heat escape lost \
              titlescreen instructions background; do
    echo "images/$name.png"
  done
  for f in "$SOURCE_DIR"/levels/level*.txt; do
    f=${f##*/}
    echo "images/${f%.txt}bg.png"
  done
  echo audio/backgroundmusic.mp3
  echo audio/fire.mp3
}

# Starts LAUNCHER from an unrelated directory with ARGS, waits for the title window, checks it
# shows the title picture from DATA_DIR, presses Escape and expects status 0 with nothing on
# stderr: play_and_quit LAUNCHER DATA_DIR WORK_DIR
play_and_quit() {
  local launcher=$1 data=$2 work=$3 pid wid status error deadline
  [ -n "${DISPLAY:-}" ] || fail "no display: run ctest under tools/dev/with-xvfb.sh"
  mkdir -p "$work/cwd"
  (cd "$work/cwd" && SDL_AUDIODRIVER=dummy exec "$launcher" >"$work/stdout" 2>"$work/stderr") &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zarvolith$' 2>/dev/null | head -n 1)
  if [ -z "$wid" ]; then
    kill -9 "$pid" 2>/dev/null
    fail "no Zarvolith window appeared; game stderr: $(cat "$work/stderr")"
  fi
  # The title picture on screen proves the game found its data from the launcher's directory;
  # started anywhere else it would find no images/ and draw none.
  deadline=$((SECONDS + 10))
  while :; do
    import -window "$wid" "$work/shot.png" 2>/dev/null
    error=$(compare -metric RMSE "$work/shot.png" "$data/images/titlescreen.png" null: 2>&1 |
            sed -n 's/.*(\(.*\)).*/\1/p')
    if [ -n "$error" ] && awk -v e="$error" 'BEGIN { exit !(e < 0.05) }'; then break; fi
    if [ $SECONDS -ge $deadline ]; then
      kill -9 "$pid" 2>/dev/null
      fail "the window does not show the title picture (RMSE ${error:-unknown})"
    fi
    sleep 0.2
  done
  # The game quits on the key press, so the release may find no window: xdotool's complaint
  # about that is not the game's.
  xdotool key --window "$wid" Escape 2>/dev/null || true
  deadline=$((SECONDS + 10))
  while kill -0 "$pid" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
      kill -9 "$pid" 2>/dev/null
      fail "the game did not end after Escape"
    fi
    sleep 0.1
  done
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "exit status $status after Escape; stderr: $(cat "$work/stderr")"
  [ ! -s "$work/stderr" ] || fail "unexpected output on stderr: $(cat "$work/stderr")"
}
