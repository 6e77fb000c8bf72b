#!/usr/bin/env bash
# Writes docs/levels.md and its pictures from the level files: for each levels/levelN.txt, its
# committed route (levelN.route) drawn over the backdrop, what it asks and what it teaches or tests
# (the two lines of levelN.about), the route's length and its win rates from 500 fixed-seed
# replays at +-50, +-100 and +-150 ms.
# Two levels are measured at a time. Usage: tools/docs/levels-doc.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)

# One level's table row, written to $work/N.row: used by the parallel jobs below.
if [ "${1:-}" = --row ]; then
  n=$2
  level="$root/levels/level$n.txt"
  route="$root/levels/level$n.route"
  about=$(head -n 1 "$root/levels/level$n.about" 2>/dev/null || true)
  about=${about:-"(no level$n.about)"}
  role=$(sed -n 2p "$root/levels/level$n.about" 2>/dev/null || true)
  role=${role//|/\\|}
  if [ ! -s "$route" ]; then
    echo "| $n | | ${about//|/\\|} | $role | no level$n.route | | | |" > "$work/$n.row"
    exit 0
  fi
  script=$(tr -s ' \t\r\n' ' ' < "$route")
  "$solver" --draw "$root/docs/levels/level$n.png" --shrink 4 --route "$script" "$level" > /dev/null
  rates=$("$solver" --rates "$script" "$level" --trials 500 || true)
  seconds=$(printf '%s\n' "$rates" | sed -n 's/.*; \([0-9.]*\) s of keys$/\1/p')
  rate() { printf '%s\n' "$rates" | sed -n "s/^ *+- *$1 ms: *\([0-9.]*%\).*/\1/p"; }
  length="$seconds s"
  if ! printf '%s\n' "$rates" | grep -q ': won unjittered'; then length="$length, **does not win as written**"; fi
  echo "| $n | ![level $n](levels/level$n.png) | ${about//|/\\|} | $role | $length | $(rate 50) | $(rate 100) | $(rate 150) |" \
    > "$work/$n.row"
  exit 0
fi

build=$(cd "${1:-$root/build}" && pwd)
export solver="$build/tools/solver/solver"
if [ ! -x "$solver" ]; then
  echo "levels-doc: $solver is missing: build it first (make build)" >&2
  exit 1
fi
work=$(mktemp -d)
export work
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/docs/levels"
rm -f "$root"/docs/levels/level*.png

numbers=$(ls "$root/levels" | sed -n 's/^level\([0-9][0-9]*\)\.txt$/\1/p' | sort -n)
printf '%s\n' $numbers | xargs -P 2 -I{} "$0" --row {}

{
  cat <<'EOF'
# The levels

Made by `make levels-doc` (`tools/docs/levels-doc.sh`) from the files in `levels/`: do not edit by hand.
Each level has a committed route, `levels/levelN.route`, a script of keys held for a number of
frames at 60 per second ("R30 N12 L6": Right for 30 frames, no key for 12, then Left for 6),
and two lines about it, `levels/levelN.about`: what it asks of the player, and what it teaches
(a move the game asks for the first time) or tests (a move taught earlier, now under pressure).

A **win rate** is the share of 500 replays of the route that reach the exit when every key
change, the first press and the last release included, is moved by its own random offset of up
to 50, 100 or 150 ms (whole frames, fixed seed); after the route the run has 2 s of no key to
get there. The route's length is the time its keys take.

In the pictures the route is amber where Left is held, blue where Right is held and white with
no key, with a dot at each key change; the faint lines are 24 of the jittered replays at
+-100 ms, red where they fail.

**A player's level becomes a shipped one** in five steps. Save it from the level editor
(`editor.html`, "Save .txt"), or decode a shared link's level with the editor and save it there.
Put it in `levels/` as `levelN.txt`, at the place in the curve its editor line gave ("about as
hard as level N"), renumbering the levels after it (and their entries in
`game/LevelFacts.cpp`). Give it a route a person can follow: the route the editor settled on
(it searches for a kinder one by itself; "Find a kinder route" searches longer), or `solver --kind`, saved as `levels/levelN.route`, and two lines about it as
`levels/levelN.about`. `make test` then checks that the route still wins, that it forgives a
person's timing, and that the level sits in the difficulty curve; `make levels-doc` adds it here.

| level | route | what it asks | teaches or tests | length | ±50 ms | ±100 ms | ±150 ms |
|---|---|---|---|---|---|---|---|
EOF
  for n in $numbers; do cat "$work/$n.row"; done
} > "$root/docs/levels.md"
echo "levels-doc: wrote docs/levels.md and docs/levels/ ($(printf '%s\n' $numbers | wc -l) levels)"
