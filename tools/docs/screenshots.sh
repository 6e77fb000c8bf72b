#!/usr/bin/env bash
# Takes the README's screenshots from the staged game under Xvfb: the title, a level in play and
# the lost picture. Usage: tools/docs/screenshots.sh [GAME_DIR] [OUT_DIR]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
game=$(cd "${1:-$root/build/game}" && pwd)
out=$(mkdir -p "${2:-$root/docs/screenshots}" && cd "${2:-$root/docs/screenshots}" && pwd)
if [ -z "${DISPLAY:-}" ]; then exec "$root/tools/dev/with-xvfb.sh" "$0" "$game" "$out"; fi
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# Plays GAME_DIR until the shot: shoot GAME_DIR NAME SECONDS_OF_PLAY [SECONDS_HOLDING_RIGHT]
shoot() {
  (cd "$1" && exec ./zarvolith >/dev/null 2>&1) &
  pid=$!
  local wid
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zarvolith$' | head -n 1)
  sleep 0.5
  if [ "$3" = title ]; then
    import -window "$wid" "$out/$2.png"
  else
    xdotool mousemove --window "$wid" 512 384 click 1
    sleep 0.3
    xdotool mousemove --window "$wid" 512 384 click 1
    if [ -n "${4:-}" ]; then
      xdotool keydown --window "$wid" Right
      sleep "$4"
      xdotool keyup --window "$wid" Right
    fi
    sleep "$3"
    import -window "$wid" "$out/$2.png"
  fi
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

shoot "$game" title title
shoot "$game" play 1.2
# The lost picture: level 4 with its start moved above the spike floor, played as level 1, with
# its backdrop drawn by the art tool from the changed file.
cp -r "$game" "$work/game"
awk 'NR == 12 { $0 = substr($0, 1, 3) "g" substr($0, 5) } { gsub(/g/, " ") } NR == 12 { $0 = substr($0, 1, 3) "g" substr($0, 5) } 1' \
  "$game/levels/level4.txt" > "$work/game/levels/level1.txt"
"$root/build/tools/art/zarvolith_art" --backdrop "$work/game/levels/level1.txt" "$work/game/images/level1bg.png" >/dev/null
shoot "$work/game" lost 3
echo "screenshots in $out"
