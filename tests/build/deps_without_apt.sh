#!/usr/bin/env bash
# `make deps` where there is no apt-get: it must stop with an error that names the libraries to
# install, and install nothing.
set -u
SOURCE_DIR=${SOURCE_DIR:?SOURCE_DIR must name the source directory}
. "$SOURCE_DIR/tests/build/lib.sh"
rerun_without apt-get
status=0
output=$(bash "$SOURCE_DIR/tools/dev/install-deps.sh" 2>&1) || status=$?
echo "$output"
[ $status -ne 0 ] || fail "install-deps.sh succeeded without apt-get"
for library in freeglut libpng SDL2_mixer FreeType GoogleTest; do
  grep -q "$library" <<<"$output" || fail "the message does not name $library"
done
! grep -qi 'installing' <<<"$output" || fail "it tried to install something"
echo "make deps without apt: ok"
