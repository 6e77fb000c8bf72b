#!/usr/bin/env bash
# Seeds the faults listed in faults.tsv into the game's code one at a time, rebuilds, runs the fast
# tests and says whether they caught each one; prints the total at the end. A fault is caught
# when a fast test fails, crashes or times out.
#
#   tools/mutation/mutate.sh [FAULT_NAME...]     (no names: every fault in the list)
#   MUTATION_REV=<commit> tools/mutation/mutate.sh  (that commit's code, tests and fault list)
#
# It works on a copy of the tracked files (uncommitted changes included), or of MUTATION_REV, in
# $MUTATION_DIR (default build-mutation/), so the working tree is never touched and an
# interrupted run leaves nothing behind; later runs rebuild only what changed. Run it with nice:
# each fault costs a rebuild of the libraries and test programs that depend on its file.
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=${MUTATION_DIR:-$root/build-mutation}
src=$work/src
faults=$src/tools/mutation/faults.tsv
bld=$work/build
jobs=${JOBS:-2}
# The unit-test programs that run in seconds; the slow route searches, the shipped-level proofs
# and the end-to-end runs are left to `make test`.
targets=(sim_tests level_check_tests route_tests png_decode_tests png_resample_tests
         png_texture_gl_tests sound_tests app_tests)
fast_tests=(-LE 'e2e|install|no-sanitize|soak|bench|build' -E '_NOT_BUILT')

# Brings $src up to date with the tracked files (or MUTATION_REV's), rewriting only files whose
# content differs, so an incremental build sees only real changes.
sync_sources() {
  local f from=$root export
  mkdir -p "$src"
  if [ -n "${MUTATION_REV:-}" ]; then
    export=$work/export
    rm -rf "$export" && mkdir -p "$export"
    git archive "$MUTATION_REV" | tar -x -C "$export"
    from=$export
  fi
  while IFS= read -r -d '' f; do
    [ -f "$from/$f" ] || continue
    if ! cmp -s "$from/$f" "$src/$f"; then
      mkdir -p "$src/$(dirname "$f")"
      cp "$from/$f" "$src/$f"
    fi
  done < <(if [ -n "${MUTATION_REV:-}" ]; then cd "$from" && find . -type f -print0; else git ls-files -z; fi)
}

build() {
  cmake --build "$bld" -j "$jobs" --target "${targets[@]}" >"$work/build.log" 2>&1
}

# The GL tests draw into a private Xvfb display with Mesa's software renderer.
run_tests() {
  LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" ctest --test-dir "$bld" -j "$jobs" --timeout 300 --stop-on-failure \
    "${fast_tests[@]}" >"$work/test.log" 2>&1
}

# Replaces the one occurrence of FROM in FILE with TO; fails when FROM is not there exactly once.
seed() {
  local file=$1 from=$2 to=$3 text count
  text=$(cat "$file"; printf x)
  text=${text%x}
  count=$(grep -cF -- "$from" "$file" || true)
  [ "$count" = 1 ] || return 1
  printf '%s' "${text/"$from"/"$to"}" >"$file"
}

sync_sources
cmake -S "$src" -B "$bld" -DCMAKE_BUILD_TYPE=Debug >"$work/configure.log" 2>&1 ||
  { echo "configure failed: $work/configure.log" >&2; exit 1; }
echo "building the fast tests without faults..."
build || { echo "the unchanged tree does not build: $work/build.log" >&2; exit 1; }
run_tests || { echo "the fast tests fail without any fault: $work/test.log" >&2; exit 1; }

caught=0 missed=0 broken=0
missed_names=()
while IFS=$'\t' read -r name file from to; do
  case $name in ''|'#'*) continue ;; esac
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qxF -- "$name"; then continue; fi
  cp "$src/$file" "$work/original"
  start=$SECONDS
  if ! seed "$src/$file" "$from" "$to"; then
    result="not applied (text not found once in $file)"
    broken=$((broken + 1))
  elif ! build; then
    result="does not compile"
    broken=$((broken + 1))
  elif run_tests; then
    result="MISSED"
    missed=$((missed + 1))
    missed_names+=("$name")
  else
    result="caught by $(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*/\1/p' "$work/test.log" | head -n 1)"
    caught=$((caught + 1))
  fi
  # Written afresh (not copied back with its old time), so the next build recompiles it.
  cat "$work/original" >"$src/$file"
  printf '%-26s %-26s %4ds  %s\n' "$name" "$file" $((SECONDS - start)) "$result"
done <"$faults"

total=$((caught + missed))
echo "caught $caught of $total faults"
[ $broken -eq 0 ] || echo "$broken faults could not be run"
[ ${#missed_names[@]} -eq 0 ] || echo "missed: ${missed_names[*]}"
