#!/usr/bin/env bash
# The installed man page renders without a single warning from man or groff, carries the
# installed paths, and gives whatis its one-line description.
. "$(dirname "$0")/lib.sh"
p=$STAGED_PREFIX
page=$p/share/man/man6/zarvolith.6.gz
gzip -t "$page" || fail "$page is not a valid gzip file"
warnings=$(MANWIDTH=80 man -l --warnings "$page" 2>&1 >"$STAGE/man.txt") || fail "man failed: $warnings"
[ -z "$warnings" ] || fail "man warns: $warnings"
warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
[ -z "$warnings" ] || fail "groff warns: $warnings"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS ENVIRONMENT FILES "LEVEL FILES"; do
  grep -q "^$section\$" "$STAGE/man.txt" || fail "no $section section"
done
# Wide enough that no installed path is broken across lines.
MANWIDTH=1000 man -l "$page" >"$STAGE/man-wide.txt" 2>/dev/null
grep -qF "$p/share/games/zarvolith" "$STAGE/man-wide.txt" || fail "the page does not name the data directory"
grep -qF "$p/games/zarvolith" "$STAGE/man-wide.txt" || fail "the page does not name the launcher"
grep -q VIEWING_GAMMA "$STAGE/man.txt" || fail "the page does not explain VIEWING_GAMMA"
whatis=$(lexgrog "$page") || fail "lexgrog cannot parse the NAME section"
echo "$whatis" | grep -q 'zarvolith - ' || fail "lexgrog found: $whatis"
echo "man page: ok"
