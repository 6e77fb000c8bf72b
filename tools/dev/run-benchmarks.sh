#!/usr/bin/env bash
# Runs every benchmark and prints its figures; exits non-zero if any missed its target.
# Usage: run-benchmarks.sh BUILD_DIR   (the windowed ones need a display: `make bench` gives Xvfb)
set -u
build=${1:?usage: run-benchmarks.sh BUILD_DIR}
game="$(cd "$build/game" && pwd)"
bench="$(cd "$build/bench" && pwd)"
solver="$(cd "$build/tools/solver" && pwd)/solver"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
missed=()

run() {
  local name=$1
  shift
  echo "== $name"
  "$@" || missed+=("$name")
}

run "simulation throughput" "$bench/sim_throughput" 3
run "level load" "$bench/level_load" "$game" 50
run "start-up" "$bench/startup_time" "$bench/startup_probe_game" "$bench/startup_probe_bare" "$game" 15
run "frame time" "$bench/frame_time" "$game" 2000
run "restart memory" "$bench/restart_memory" "$game" 500

run "level generator" "$bench/generator_figures" levels 20

levels=$(cd "$game" && ls levels | sed -n 's/^\(level[0-9][0-9]*\.txt\)$/levels\/\1/p' | sort -V)
count=$(printf '%s\n' $levels | wc -l)
echo "== level solver: proving all $count levels (target < 60 s)"
start=$(date +%s%N)
(cd "$game" && "$solver" $levels >/dev/null) || missed+=("level solver")
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
verdict=pass
[ "$elapsed_ms" -lt 60000 ] || { verdict=FAIL; missed+=("level solver time"); }
printf 'level solver: %d.%03d s for %d levels (target < 60 s): %s\n' $((elapsed_ms / 1000)) \
  $((elapsed_ms % 1000)) "$count" "$verdict"

if [ ${#missed[@]} -gt 0 ]; then
  echo "missed: ${missed[*]}"
  exit 1
fi
echo "every benchmark met its target"
