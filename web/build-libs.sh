#!/usr/bin/env bash
# Builds the C libraries the browser build links (zlib, libpng, SDL2, SDL2_mixer) with emscripten,
# from Debian's own source packages, into PREFIX. Each library is built once: a later run finds its
# installed archive and skips it. The sources come through a private apt list of bookworm's deb-src
# entries kept under the build folder, so the machine's apt configuration is left untouched.
#   web/build-libs.sh BUILD_DIR
set -eu

build=$(realpath -m "$1")
prefix=$build/prefix
src=$build/src
apt_dir=$build/apt
jobs=$(nproc)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}   # emcc's own node modules when node is not Debian's

have() { [ -f "$prefix/lib/$1" ]; }
if have libz.a && have libpng16.a && have libSDL2.a && have libSDL2_mixer.a; then exit 0; fi

mkdir -p "$src" "$prefix" "$apt_dir/lists/partial"
mirror=$(sed -n 's/^URIs: *\(http[^ ]*\/debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
mirror=${mirror:-http://deb.debian.org/debian}
echo "deb-src $mirror bookworm main" > "$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$apt_dir/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
# As root, apt would hand the download to its own unprivileged user, who cannot write here.
[ "$(id -u)" -ne 0 ] || apt_options+=(-o APT::Sandbox::User=root)

# Unpacks the Debian source package NAME into $src/NAME (once) and prints that folder.
fetch() {
  local name=$1
  if [ ! -d "$src/$name" ]; then
    [ -n "$(ls "$apt_dir/lists" | grep -i sources || true)" ] || apt-get -q "${apt_options[@]}" update >&2
    (cd "$src" && apt-get -q "${apt_options[@]}" source --download-only "$name" >&2 &&
       dpkg-source --no-check -x "$(ls "${name}"_*.dsc | head -n1)" "$name.tmp" >&2 &&
       mv "$name.tmp" "$name")
  fi
  echo "$src/$name"
}

common_cflags="-O2"

if ! have libz.a; then
  echo "web: building zlib" >&2
  dir=$(fetch zlib)
  (cd "$dir" && CFLAGS=$common_cflags emconfigure ./configure --static --prefix="$prefix" >/dev/null &&
     emmake make -j"$jobs" libz.a >/dev/null && emmake make install >/dev/null)
fi

if ! have libpng16.a; then
  echo "web: building libpng" >&2
  dir=$(fetch libpng1.6)
  rm -rf "$dir/web-build"
  emcmake cmake -S "$dir" -B "$dir/web-build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" -DSKIP_INSTALL_PROGRAMS=ON >/dev/null
  cmake --build "$dir/web-build" -j "$jobs" >/dev/null
  cmake --install "$dir/web-build" >/dev/null
fi

if ! have libSDL2.a; then
  echo "web: building SDL2 (the longest step, about three minutes)" >&2
  dir=$(fetch libsdl2)
  rm -rf "$dir/web-build"
  emcmake cmake -S "$dir" -B "$dir/web-build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF >/dev/null
  cmake --build "$dir/web-build" -j "$jobs" >/dev/null
  cmake --install "$dir/web-build" >/dev/null
fi

if ! have libSDL2_mixer.a; then
  echo "web: building SDL2_mixer" >&2
  dir=$(fetch libsdl2-mixer)
  rm -rf "$dir/web-build"
  # MP3 through the built-in decoder alone: the game plays nothing else.
  emcmake cmake -S "$dir" -B "$dir/web-build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=OFF -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON \
    -DSDL2MIXER_MP3_MPG123=OFF -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$dir/web-build" -j "$jobs" >/dev/null
  cmake --install "$dir/web-build" >/dev/null
fi
