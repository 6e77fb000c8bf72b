#!/usr/bin/env bash
# Checks the source release: unpacks TARBALL (default: the one `make dist` writes) in a fresh
# directory and runs TARGET there (default test-unit: the build and every CTest test) with git
# out of reach, since a release is built and tested without it. A `git` on PATH that records
# its calls and fails stands in for the real one; any call fails the check.
#   tools/release/check-dist.sh [TARBALL] [TARGET]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd -P)
tarball=${1:-}
target=${2:-test-unit}
if [ -z "$tarball" ]; then
  tarball=$root/$(make -s -C "$root" dist | tail -n 1)
fi
tarball=$(cd "$(dirname "$tarball")" && pwd -P)/$(basename "$tarball")
[ -f "$tarball" ] || { echo "no tarball $tarball" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-dist.XXXXXX")
if [ "${KEEP:-0}" != 1 ]; then trap 'rm -rf "$work"' EXIT; fi
tar -xzf "$tarball" -C "$work"
tree=("$work"/*/)
[ ${#tree[@]} -eq 1 ] || { echo "the tarball does not hold one top directory" >&2; exit 1; }
tree=${tree[0]%/}
[ ! -e "$tree/.git" ] || { echo "the tarball holds a .git" >&2; exit 1; }
case $(cat "$tree/dist/commit-time") in
  '' | *[!0-9]*) echo "git archive did not record the commit time in dist/commit-time" >&2; exit 1 ;;
esac

mkdir -p "$work/bin"
cat >"$work/bin/git" <<EOF
#!/bin/sh
echo "git \$*  (from \$(pwd))" >>"$work/git-calls"
exit 127
EOF
chmod +x "$work/bin/git"

echo "running make $target in $tree without git"
status=0
(cd "$tree" && PATH="$work/bin:$PATH" make "$target") || status=$?
if [ -s "$work/git-calls" ]; then
  echo "FAIL: the build or the tests called git:" >&2
  cat "$work/git-calls" >&2
  exit 1
fi
[ "$status" -eq 0 ] || { echo "FAIL: make $target failed in the unpacked release ($status)" >&2; exit 1; }
echo "source release: builds and passes make $target without git"
