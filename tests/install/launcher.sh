#!/usr/bin/env bash
# The installed launcher, started from elsewhere, runs the game from its data directory: the
# title window appears with its picture and Escape ends it with status 0. Arguments reach the
# game: a display that does not exist makes it fail and say so.
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
echo "launcher: ok"
