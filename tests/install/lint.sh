#!/usr/bin/env bash
# Checks the Debian package as a distribution would: lintian, pedantic and experimental tags
# included, reports nothing that the shipped overrides do not cover, and each override says why
# it holds; the game binary carries the hardening features; the copyright file is machine-
# readable; the changelog's latest entry is the package's version.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvolith-lint.XXXXXX")
trap 'rm -rf "$work"' EXIT

cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/packages/zarvolith_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one zarvolith_*.deb, found: ${debs[*]}"
deb=${debs[0]}
dpkg-deb -x "$deb" "$work/tree"

# --- lintian --------------------------------------------------------------------------------
# Overridden tags print as O: and their comments as N:; every other tag line is a finding,
# informational ones included (an unused override shows up as one).
report=$(lintian --pedantic --display-info --display-experimental --show-overrides "$deb" 2>&1)
echo "$report"
findings=$(echo "$report" | grep -E '^[EWIPX]: ' || true)
[ -z "$findings" ] || fail "lintian reports tags that are neither fixed nor overridden:
$findings"

overrides=$work/tree/usr/share/lintian/overrides/zarvolith
[ -f "$overrides" ] || fail "the package ships no lintian overrides"
uncommented=$(awk '/^[[:space:]]*$/ { comment = 0; next }
                   /^#/ { comment = 1; next }
                   { if (!comment) print; comment = 0 }' "$overrides")
[ -z "$uncommented" ] || fail "overrides without a comment line saying why they hold:
$uncommented"

# --- hardening ------------------------------------------------------------------------------
binary=$work/tree/usr/lib/games/zarvolith/zarvolith
hardening=$(hardening-check --nocfprotection "$binary" 2>&1)
status=$?
echo "$hardening"
[ "$status" -eq 0 ] || fail "hardening-check failed with status $status"
for feature in 'Position Independent Executable' 'Stack protected' 'Fortify Source functions' \
               'Read-only relocations' 'Immediate binding'; do
  echo "$hardening" | grep -qE "^ $feature: yes" || fail "$feature is not 'yes'"
done

# --- copyright and changelog ----------------------------------------------------------------
copyright=$work/tree/usr/share/doc/zarvolith/copyright
# python3-debian belongs to the system's Python.
/usr/bin/python3 - "$copyright" <<'EOF' || fail "the copyright file is not valid DEP-5"
import sys
import debian.copyright as dep5

with open(sys.argv[1]) as f:
    c = dep5.Copyright(f, strict=True)
files = list(c.all_files_paragraphs())
if not any("*" in p.files for p in files):
    sys.exit("no Files: * paragraph")
texts = {p.license.synopsis for p in c.all_license_paragraphs()}
for p in files:
    if not p.copyright:
        sys.exit("Files: %s has no Copyright" % " ".join(p.files))
    if not p.license.text and p.license.synopsis not in texts:
        sys.exit("Files: %s names the licence %s without its text" % (" ".join(p.files), p.license.synopsis))
EOF

changelog=$work/tree/usr/share/doc/zarvolith/changelog.Debian.gz
[ -f "$changelog" ] || fail "no changelog.Debian.gz"
gzip -dc "$changelog" >"$work/changelog" || fail "changelog.Debian.gz does not decompress"
latest=$(dpkg-parsechangelog -l "$work/changelog" -S Version) || fail "the changelog does not parse"
[ "$latest" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the changelog's latest entry is $latest, the package is $(dpkg-deb -f "$deb" Version)"
echo "lint: ok"
