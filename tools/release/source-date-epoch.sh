#!/bin/sh
# Prints the time the package's and the source tarball's files are dated, in seconds since the
# epoch: SOURCE_DATE_EPOCH if set, else the last commit's time. A tree without git (an unpacked
# source release) has that time written into dist/commit-time by `git archive`; a copy with
# neither takes the date of the changelog's latest entry.
set -eu
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  echo "$SOURCE_DATE_EPOCH"
  exit 0
fi
root=$(cd "$(dirname "$0")/../.." && pwd -P)
# Only this tree's own repository counts, not one that happens to contain it; an unpacked
# release has none and never calls git.
if [ -e "$root/.git" ] && command -v git >/dev/null 2>&1 &&
   committed=$(git -C "$root" log -1 --format=%ct 2>/dev/null) && [ -n "$committed" ]; then
  echo "$committed"
  exit 0
fi
recorded=$(cat "$root/dist/commit-time" 2>/dev/null || true)
case $recorded in
  '' | *[!0-9]*) ;;
  *) echo "$recorded"; exit 0 ;;
esac
dpkg-parsechangelog -l "$root/dist/changelog" -S Timestamp
