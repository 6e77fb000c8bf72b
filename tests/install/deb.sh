#!/usr/bin/env bash
# Builds the Debian package with CPack, checks its control fields and contents, installs it with
# apt into this system, plays the installed game until Escape, then purges it and checks every
# file went with it. Needs root or passwordless sudo; otherwise it is skipped (status 77).
# A zarvolith package that was on the system before the test, in any state, is the user's: the
# test then checks the package file only, installs nothing and skips the rest (status 77).
. "$(dirname "$0")/lib.sh"
PROJECT_VERSION=${PROJECT_VERSION:?PROJECT_VERSION must be set}
SKIP=77

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "SKIP: installing the package needs root or passwordless sudo"
  exit $SKIP
fi
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120)

# Another test run on this machine (another build directory, another checkout) waits here, so
# one run never takes for the user's package what the other installed a moment ago.
lock=/var/lock/zarvolith-package-test.lock
: >>"$lock" 2>/dev/null
exec 9<"$lock" || fail "cannot open $lock"
flock -w 240 9 || fail "another run held the package test for four minutes"

installed() { dpkg-query -W -f='${Status}' zarvolith 2>/dev/null | grep -q 'install ok installed'; }
# Known to dpkg at all: installed, half-installed, or removed with its configuration kept.
known() {
  local state
  state=$(dpkg-query -W -f='${db:Status-Status}' zarvolith 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != not-installed ]
}
preinstalled=false
if known; then
  preinstalled=true
  user_version=$(dpkg-query -W -f='${Version} (${db:Status-Status})' zarvolith)
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-deb.XXXXXX")
chmod 755 "$work"  # apt reads the package as its own unprivileged user
we_installed=false
cleanup() {
  if $we_installed && known; then "${apt[@]}" purge zarvolith >/dev/null 2>&1; fi
  rm -rf "$work"
}
trap cleanup EXIT

# --- build ---------------------------------------------------------------------------------
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/packages/zarvolith_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one zarvolith_*.deb, found: ${debs[*]}"
deb=${debs[0]}
chmod 644 "$deb"

# --- control fields ------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
dpkg-deb -I "$deb"
[ "$(field Package)" = zarvolith ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$PROJECT_VERSION-1" ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
# The project has no contact address yet: the maintainer may be a name alone, but an address,
# once given, must be well-formed.
maintainer=$(field Maintainer)
[ -n "$maintainer" ] || fail "no Maintainer"
case $maintainer in
  *'<'*) echo "$maintainer" | grep -qE '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "Maintainer is '$maintainer'" ;;
esac
[ -n "$(field Description)" ] || fail "no Description"
# dpkg-shlibdeps fills Depends from the libraries the binary links.
depends=$(field Depends)
for lib in libc6 libpng16 libsdl2-mixer 'lib(freeglut|glut)'; do
  echo "$depends" | grep -qE "(^|, )$lib" || fail "Depends lacks $lib: $depends"
done

# --- contents ------------------------------------------------------------------------------
contents=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort)
want=$(expected_files /usr)
[ "$contents" = "$want" ] || fail "package contents differ from the expected list:
$(diff <(echo "$want") <(echo "$contents"))"
dpkg-deb -x "$deb" "$work/tree"
grep -qF "cd '/usr/share/games/zarvolith'" "$work/tree/usr/games/zarvolith" ||
  fail "the packaged launcher does not change to /usr/share/games/zarvolith"
if readelf -S "$work/tree/usr/lib/games/zarvolith/zarvolith" | grep -q '\.debug_info'; then
  fail "the packaged binary is not stripped"
fi

# --- install, play, purge ------------------------------------------------------------------
if $preinstalled; then
  echo "SKIP: zarvolith $user_version was installed before this test; it stays as it is, so the"
  echo "      package was checked as a file only (fields, contents, stripped binary), not installed"
  exit $SKIP
fi
we_installed=true
"${apt[@]}" install "$deb" >"$work/apt.log" 2>&1 || fail "apt-get install failed: $(cat "$work/apt.log")"
installed || fail "the package is not installed after apt-get install"
[ "$(man -w zarvolith 2>/dev/null)" = /usr/share/man/man6/zarvolith.6.gz ] ||
  fail "man does not find the page in section 6: $(man -w zarvolith 2>&1)"

play_and_quit /usr/games/zarvolith /usr/share/games/zarvolith "$work/run"

"${apt[@]}" purge zarvolith >"$work/apt.log" 2>&1 || fail "apt-get purge failed: $(cat "$work/apt.log")"
! installed || fail "the package is still installed after purge"
left=$(while read -r f; do [ ! -e "$f" ] || echo "$f"; done <<<"$contents")
[ -z "$left" ] || fail "files left after purge: $left"
[ ! -e /usr/share/games/zarvolith ] && [ ! -e /usr/lib/games/zarvolith ] ||
  fail "the game's directories are left after purge"
echo "debian package: ok"
