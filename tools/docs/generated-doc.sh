#!/usr/bin/env bash
# Writes docs/generated.md and its pictures: ten levels the generator makes from seeds 1 to 10 at
# targets rising from the difficulty of shipped level 3 to that of level 25, each with its route
# drawn over it, its target and its measured win rates.
# Usage: tools/docs/generated-doc.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
solver="$build/tools/solver/solver"
if [ ! -x "$solver" ]; then
  echo "generated-doc: $solver is missing: build it first (make build)" >&2
  exit 1
fi
out="$root/docs/generated"
mkdir -p "$out"
rm -f "$out"/level*.png "$out"/level*.txt
likes=(3 5 7 10 12 15 18 20 22 25)
rows=""
for seed in $(seq 1 10); do
  like=${likes[$((seed - 1))]}
  file="$out/level$seed.txt"
  made=$("$solver" --levels "$root/levels" --generate --seed "$seed" --like "$like" --out "$file" 2> "$out/made.log") || {
    rows+="| $seed | | level $like | $(sed "s/^solver: //" "$out/made.log") | | | | |"$'\n'
    continue
  }
  script=$(printf '%s\n' "$made" | sed -n 16p)
  target=$(sed -n 's/.*(\([0-9.]*%\) at +-100 ms).*/\1/p' "$out/made.log")
  took=$(sed -n 's/.*: made after \([0-9]*\) rooms, \([0-9.]*\) s$/\1 rooms, \2 s/p' "$out/made.log")
  rate() { printf '%s\n' "$made" | sed -n "s/^ *+- *$1 ms: *\([0-9.]*%\).*/\1/p"; }
  "$solver" --draw "$out/level$seed.png" --shrink 4 --route "$script" "$file" > /dev/null
  rows+="| $seed | ![seed $seed](generated/level$seed.png) | level $like, $target | \`$script\` | $(rate 50) | $(rate 100) | $(rate 150) | $took |"$'\n'
done
rm -f "$out/made.log"
{
  cat <<'EOF'
# Generated levels

Made by `make generated-doc` (`tools/docs/generated-doc.sh`): do not edit by hand. Ten levels the
generator makes (`solver --generate --seed S --like N`), seed 1 to 10, at targets rising from the
difficulty of shipped level 3 to that of level 25, with the route the generator kept drawn over
each (amber while Left is held, blue for Right, white for no key). The level files are beside the
pictures in `docs/generated/`.

| seed | level | like (its +-100 ms rate) | route | +-50 ms | +-100 ms | +-150 ms | made after |
|---|---|---|---|---|---|---|---|
EOF
  printf '%s' "$rows"
  cat <<'EOF'

## How the generator works

`route/LevelGenerator.cpp`, in the route library beside the search, so the command line, the
tests, the editor's "Generate…" and the game page's daily pack run the same code.

- **Rooms.** A seed and a *hardness* (0 to 1) build a closed room of one of three shapes: an *open
  room* (a start on a ledge at the top, an exit in the floor on the far side, and between them
  shelves of one-way walls with walls hanging from their ends, pillars to fly over with a fire
  before a tall one to climb it, spike rows with a gap, hazards hanging under shelves, and a spiked
  floor in hard rooms), a *descent* (shelves from alternate walls, each ending in a gap to drop
  through, spikes along their far ends in hard rooms, and the exit under the last gap) or a *lift*
  (the exit up the far wall over a shelf, reached only in the column of a "4" fire set into a
  floor raised a row or two, which slopes into the fire from both sides, so that a glider landing
  anywhere slides or steers into the lift; harder lifts spike that floor, hang hazards on the way
  and narrow the exit). Four rooms in ten are open, four descents and two lifts; the lift is the
  first lesson in fires, as in the first shipped levels, and past hardness 0.4, where it would
  still be too kind, its rooms are built open. Shelves
  under the ceiling, steps in the floor, three to six blocks of wall and, in half the easier rooms
  with no fire, a ceiling lowered to the row above the start give each room a shape of its own.
  Odd seeds' rooms fly right and even seeds' rooms left (mirrored), so neighbouring seeds never
  share a layout; with the shapes, ten rooms from ten seeds at one target differ in at least 40 of
  their 300 cells. Hardness narrows exits and gaps, adds and raises obstacles and spikes floors.
- **Bare rooms.** A room with fewer than 32 cells of wall, hazard or fire inside it (whole rows of
  wall not counted) reads as bare, and two bare rooms look alike: it is turned down before any
  proof, which costs nothing.
- **Acceptance.** A room must pass the checker with no error or warning; the solver must win it
  (12-frame segments, at most 120,000 of them); its fastest win is reshaped by the kind route
  search for at most 24 candidates of 40 jittered replays; and that route must win within
  5 points of the target at +-100 ms over the 500 replays the solver reports, with nothing stray.
  The first 100 of those replays screen the room: one more than 25 points off is not measured
  further.
- **Landing.** A room measured in full but outside the 5 points has its exit reshaped, up to three
  times, keeping its route: wider over the wall or spike beside it when too hard; when too easy,
  narrower, or a cell of open floor beside a one-cell exit turned into spikes. Of the changes that
  still win, the one nearest the target is kept; past the target the reshaping stops.
- **Aiming.** The three shapes are aimed apart, since at one hardness a descent is much harder
  than an open room and a lift much kinder. The first hardness is guessed from the target; after each room measured, its
  shape's hardness moves towards the target in steps that shrink (0.25, then x0.7, at least 0.05),
  and another room is built from the next seed. After 40 rooms the generator gives up on the seed.
  Every bound is a count, so the same seed and target give the same level on every machine.
- **Stray objects.** A hazard or fire is stray when it is more than 3 cells from every point of
  the route's path, a fire also when the path never enters its lift column, and it touches no
  hazard, fire or inner wall that is not: a spike row's far end
  or a pillar's cap is placed with the rest of its piece. Stray cells are cleared (to air, or to
  wall in the floor) and the room is measured again with the same route, which must still win;
  kept levels have none.

Its figures (`make bench`: `bench/generator_figures`) are in the README.
EOF
} > "$root/docs/generated.md"
echo "generated-doc: wrote docs/generated.md and docs/generated/"
