#!/usr/bin/env bash
# Started where no display can be opened, the game names that display in one line on stderr and
# ends with status 1: no abort, no signal, no core dump.
. "$(dirname "$0")/lib.sh"
make_game_dir
level 1 "" "          g"
# A display number no X server here answers on.
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
ulimit -c 0
(cd "$WORK/game" && DISPLAY=":$n" exec ./zarvolith >"$WORK/stdout" 2>"$WORK/stderr")
status=$?
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
expected="zarvolith: failed to open display ':$n'"
[ "$(cat "$WORK/stderr")" = "$expected" ] || fail "stderr was not: $expected"
[ ! -s "$WORK/stdout" ] || fail "stdout was not empty"
echo "no display: ok"
