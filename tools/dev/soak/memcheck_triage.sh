#!/usr/bin/env bash
# Sorts the records in memcheck logs by whose code they point at: the first stack frame that is
# not the allocator or the C++ library decides. A frame in one of the game's own sources (app/,
# game/, level/, io/, render/, sound/) makes the record ours; a frame in a library, or an unnamed one
# (Mesa's driver is unloaded before the leak check, so its frames lose their names), makes it the
# library's. Prints "OURS_LEAKS OURS_ERRORS LIBRARY_LEAKS LIBRARY_ERRORS" on standard output, and
# every record of ours, then a one-line summary of each library record, on standard error.
#   memcheck_triage.sh VALGRIND_LOG...
set -u
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
# "(Name.cpp:" or "(Name.h:" for each of our sources, as one extended regular expression.
ours=$(cd "$ROOT" && find app game level io render sound \( -name '*.cpp' -o -name '*.h' \) -printf '%f\n' |
       sed 's/\./\\./; s/^/\\(/; s/$/:/' | paste -sd'|')
awk -v ours="$ours" '
  function strip(line) { sub(/^==[0-9]+== ?/, "", line); return line }
  # Frames that only pass the allocation on: the allocator itself and the C++ library.
  function passes_on(frame) {
    return frame ~ /vgpreload_memcheck|: (malloc|calloc|realloc|memalign|posix_memalign|aligned_alloc) \(|operator new|libstdc\+\+|\((new_allocator\.h|alloc_traits\.h|allocator\.h|stl_[a-z_]+\.h|basic_string\.h|basic_string\.tcc|vector\.tcc|char_traits\.h|move\.h|unique_ptr\.h|shared_ptr[a-z_]*\.h|hashtable[a-z_]*\.h):/
  }
  function finish() {
    if (frames == 0) { reset(); return }
    leak = header ~ /definitely lost in loss record/
    if (decider ~ ours) {
      if (leak) ours_leaks++; else ours_errors++
      printf "--- ours:\n%s\n", record > "/dev/stderr"
    } else {
      if (leak) lib_leaks++; else lib_errors++
      printf "--- library (%s): %s | first frame: %s\n", FILENAME, header, decider > "/dev/stderr"
    }
    reset()
  }
  function reset() { header = ""; record = ""; frames = 0; decider = ""; instack = 0 }
  BEGIN { reset() }
  FNR == 1 { finish() }
  {
    line = strip($0)
    if (line ~ /^ *$/) { finish(); next }
    if (line ~ /^ *(at|by) 0x/) {
      if (instack < 0) { record = record line "\n"; next }  # a later stack (where the block was freed...)
      instack = 1
      frames++
      record = record line "\n"
      if (decider == "" && !passes_on(line)) decider = line
      next
    }
    if (instack > 0) instack = -1  # the first stack is over
    else if (header == "") header = line
    record = record line "\n"
  }
  END {
    finish()
    printf "%d %d %d %d\n", ours_leaks, ours_errors, lib_leaks, lib_errors
  }
' "$@"
