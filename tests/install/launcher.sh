#!/usr/bin/env bash
# The installed launcher, started from elsewhere, runs the game from its data directory: the
# title window appears with its picture and Escape ends it with status 0. Arguments reach the
# game: a display that does not exist makes it fail and say so. A damaged pack is refused.
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
launcher=$STAGED_PREFIX/games/zarvolith
play_and_quit "$launcher" "$STAGED_PREFIX/share/games/zarvolith" "$work"

(cd "$work" && SDL_AUDIODRIVER=dummy timeout -s KILL 20 "$launcher" -display :no-such-display.0 \
   >"$work/stdout" 2>"$work/stderr")
status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 137 ] || fail "with a missing display the game gave status $status"
grep -qF ':no-such-display.0' "$work/stderr" ||
  fail "the -display argument did not reach the game; stderr: $(cat "$work/stderr")"
# --pack and --help go to zarvolith-play, which refuses a damaged pack before any window opens.
printf 'Zarvolith level pack: Cut\n' > "$work/cut.zvpack"
head -n 4 "$SOURCE_DIR/levels/level1.txt" >> "$work/cut.zvpack"
(cd "$work" && timeout -s KILL 20 "$launcher" --pack "$work/cut.zvpack" >"$work/stdout" 2>"$work/stderr")
status=$?
[ "$status" -eq 1 ] || fail "a damaged pack gave status $status"
grep -qF "cut.zvpack:6:1: level 1 is cut short: it has 4 of its 15 lines" "$work/stderr" ||
  fail "the damaged pack's message: $(cat "$work/stderr")"
"$launcher" --help | grep -q -- '--pack FILE' || fail "--help does not name --pack"
echo "launcher: ok"
