#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need.
# Only packages that are missing are installed; runs apt-get as root or through sudo.
set -eu

packages=(
  build-essential cmake pkg-config
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  libpng-dev zlib1g-dev libsdl2-mixer-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev googletest
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils imagemagick lame
  desktop-file-utils appstream man-db dpkg-dev valgrind
  lintian devscripts python3-debian
  emscripten chromium python3-websocket
)

# Without apt this script can install nothing: it names what to install instead.
if ! command -v apt-get >/dev/null 2>&1; then
  cat >&2 <<'LIST'
make deps: apt-get was not found, so nothing was installed. This script only knows Debian.
Install these with your system's package manager (development packages, with headers and
pkg-config files), then run make:
  CMake 3.16 or later, a C++17 compiler, pkg-config
  freeglut, OpenGL and GLU (Mesa), libpng and zlib, SDL2 and SDL2_mixer with MP3 support
  FreeType and the DejaVu fonts, GoogleTest
  for the tests: lame, Xvfb, xauth, xdotool, xdpyinfo (x11-utils), ImageMagick
  for make fuzz: clang with its libFuzzer runtime
  for make web and its test: emscripten, Chromium, Python's websocket-client
LIST
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q || true
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
