#!/usr/bin/env bash
# Checks that the Debian package is reproducible: two builds of this tree in two different build
# directories must give byte-identical .deb files (generated pictures and sounds, file times and
# build paths included).
#
#   tools/release/check-reproducible.sh                    two fresh builds, compared
#   tools/release/check-reproducible.sh --reference BUILD  one fresh build, compared with the package
#                                                  made from the existing build directory BUILD
#
# Fresh builds leave the tests out (they are not in the package) and take the reference's build
# type. Environment: JOBS (build jobs, default nproc), KEEP=1 keeps the work directory.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd -P)
jobs=${JOBS:-$(nproc)}
reference=
case ${1:-} in
  --reference) reference=$(cd "${2:?--reference needs a build directory}" && pwd -P) ;;
  '') ;;
  *) echo "usage: $0 [--reference BUILD_DIR]" >&2; exit 2 ;;
esac

build_type=RelWithDebInfo
if [ -n "$reference" ]; then
  build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$reference/CMakeCache.txt")
fi

# Both packages must come from one commit: the file times follow it.
epoch=$("$root/tools/release/source-date-epoch.sh")

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-repro.XXXXXX")
if [ "${KEEP:-0}" != 1 ]; then trap 'rm -rf "$work"' EXIT; fi

# Writes the package of build directory DIR into OUT: package DIR OUT
package() {
  (cd "$1" && cpack -G DEB -B "$2") >"$2.log" 2>&1 || { cat "$2.log" >&2; return 1; }
}

# Configures, builds and packages the tree in a new build directory DIR: fresh_build DIR OUT
fresh_build() {
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE="$build_type" -DZARVOLITH_TESTS=OFF \
    >"$1.configure.log" 2>&1 || { cat "$1.configure.log" >&2; return 1; }
  nice cmake --build "$1" -j "$jobs" >"$1.build.log" 2>&1 || { tail -n 40 "$1.build.log" >&2; return 1; }
  package "$1" "$2"
}

# The directories differ in place and in length, so a build path that leaks into the package
# shows up as a difference.
if [ -n "$reference" ]; then
  echo "packaging the build in $reference"
  package "$reference" "$work/a"
else
  echo "building in $work/a-build"
  fresh_build "$work/a-build" "$work/a"
fi
echo "building in $work/second/build-directory"
mkdir -p "$work/second"
fresh_build "$work/second/build-directory" "$work/b"

debs_a=("$work"/a/*.deb)
debs_b=("$work"/b/*.deb)
[ ${#debs_a[@]} -eq 1 ] && [ -f "${debs_a[0]}" ] || { echo "FAIL: no package from the first build" >&2; exit 1; }
[ ${#debs_b[@]} -eq 1 ] && [ -f "${debs_b[0]}" ] || { echo "FAIL: no package from the second build" >&2; exit 1; }
sha256sum "${debs_a[0]}" "${debs_b[0]}"
if [ "$("$root/tools/release/source-date-epoch.sh")" != "$epoch" ]; then
  echo "FAIL: a commit was made during the check, so the packages are of different commits" >&2
  exit 1
fi
if cmp -s "${debs_a[0]}" "${debs_b[0]}"; then
  echo "reproducible: the two packages are identical"
  exit 0
fi

# Say where they differ: the archive members, the control files, the files and their times.
echo "FAIL: the two packages differ" >&2
for side in a b; do
  mkdir -p "$work/x-$side"
  deb=$work/$side/$(basename "${debs_a[0]}")
  dpkg-deb -e "$deb" "$work/x-$side/DEBIAN"
  dpkg-deb -x "$deb" "$work/x-$side/tree"
  ar tv "$deb" >"$work/x-$side/members"
  dpkg-deb -c "$deb" >"$work/x-$side/listing"
done
diff "$work/x-a/members" "$work/x-b/members" >&2 || true
diff "$work/x-a/listing" "$work/x-b/listing" >&2 || true
diff -r "$work/x-a/DEBIAN" "$work/x-b/DEBIAN" >&2 || true
diff -rq "$work/x-a/tree" "$work/x-b/tree" >&2 || true
exit 1
