#!/usr/bin/env bash
# Starts the staged game from its own directory, or explains why it cannot.
set -eu
dir=${1:?usage: run-game.sh GAME_DIR}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "zarvolith: no display found (DISPLAY is not set)." >&2
  echo "Run it from a graphical session, or headless with: tools/dev/with-xvfb.sh make run" >&2
  exit 1
fi
cd "$dir"
exec ./zarvolith "${@:2}"
