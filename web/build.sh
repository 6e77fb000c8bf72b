#!/usr/bin/env bash
# Builds the browser version into WEB_BUILD/site: the libraries once (web/build-libs.sh), then the
# game's own sources with this folder's layer, preloading the desktop build's staged levels,
# images and audio from BUILD/game.
#   web/build.sh BUILD WEB_BUILD
set -eu
cd "$(dirname "$0")/.."
build=$(realpath -m "$1")
web=$(realpath -m "$2")

if ! command -v emcc >/dev/null 2>&1; then
  echo "web: emcc was not found; 'make deps' installs Debian's emscripten" >&2
  exit 1
fi
# emcc needs the JavaScript modules Debian installs for it when node itself is not Debian's.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

web/build-libs.sh "$web/deps"
emcmake cmake -S web -B "$web/cmake" -DCMAKE_BUILD_TYPE=Release -DWEB_DEPS="$web/deps/prefix" \
  -DGAME_DATA="$build/game" -DWEB_SITE="$web/site" \
  -DNATIVE_SITE_DATA="$build/tools/sitedata/zarvolith_sitedata" >/dev/null
cmake --build "$web/cmake" -j "$(nproc)"
echo "web: the site is in $web/site"
