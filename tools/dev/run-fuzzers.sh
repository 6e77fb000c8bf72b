#!/usr/bin/env bash
# Builds every libFuzzer target (tests/fuzz/<name>_fuzzer.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz, then runs each one for SECONDS seconds.
#   usage: tools/dev/run-fuzzers.sh SECONDS
# A target starts from the committed seeds in tests/fuzz/<name>_corpus/ and keeps what it finds
# in fuzz-corpus-work/<name>_fuzzer/ (ignored by git); an input that crashes, leaks or times out
# is saved as fuzz-corpus-work/<name>_fuzzer-crash-* (or -leak-*, -timeout-*), next to its log.
# Environment: JOBS (build jobs, default 2), FUZZ_ARGS (extra libFuzzer flags), FUZZ_BUILD (build
# directory, default build-fuzz).
set -eu

seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
work=$root/fuzz-corpus-work
jobs=${JOBS:-2}
# The whole tree is instrumented, so coverage and sanitizer checks reach into the loaders.
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"
# An input taking over 10 s counts as a hang. The target's own stderr is closed to drop the
# stream of messages about damaged files; libFuzzer output and sanitizer reports still show.
libfuzzer_flags=(-timeout=10 -print_final_stats=1 -close_fd_mask=2)

targets=()
for source in "$root"/tests/fuzz/*_fuzzer.cpp; do
  if [ -e "$source" ]; then targets+=("$(basename "$source" .cpp)"); fi
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in tests/fuzz" >&2
  exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE= -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DZARVOLITH_FUZZ=ON -DZARVOLITH_SANITIZE=OFF >/dev/null

failed=()
for target in "${targets[@]}"; do
  # One target that does not build must not stop the others from running.
  if ! cmake --build "$build" -j "$jobs" --target "$target"; then
    echo "$target: build failed" >&2
    failed+=("$target")
    continue
  fi
  binary=$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)
  if [ -z "$binary" ]; then
    echo "$target: no binary in $build" >&2
    failed+=("$target")
    continue
  fi
  seeds=$root/tests/fuzz/${target%_fuzzer}_corpus
  corpus=$work/$target
  mkdir -p "$corpus"
  corpora=("$corpus")
  [ -d "$seeds" ] && corpora+=("$seeds")
  echo "== $target: ${seconds}s, seeds ${seeds#"$root"/}, findings in ${corpus#"$root"/}/"
  log=$work/$target.log
  # shellcheck disable=SC2086  # FUZZ_ARGS is a list of flags
  if "$binary" "${libfuzzer_flags[@]}" -max_total_time="$seconds" -artifact_prefix="$corpus-" \
       ${FUZZ_ARGS:-} "${corpora[@]}" >"$log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed+=("$target")
    tail -n 60 "$log" >&2
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "$target: $status, ${runs:-?} executions, corpus $(find "$corpus" -type f | wc -l) files, log ${log#"$root"/}"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzers that failed: ${failed[*]}" >&2
  exit 1
fi
