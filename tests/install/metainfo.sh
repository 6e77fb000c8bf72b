#!/usr/bin/env bash
# The installed AppStream metadata validates offline without errors or warnings (pedantic notes
# and hints are allowed), launches the installed desktop entry and carries this version's release,
# dated as the package changelog dates it.
. "$(dirname "$0")/lib.sh"
PROJECT_VERSION=${PROJECT_VERSION:?PROJECT_VERSION must be set}
p=$STAGED_PREFIX
file=$p/share/metainfo/$APP_ID.metainfo.xml
report=$(appstreamcli validate --no-net --pedantic --explain "$file" 2>&1)
status=$?
echo "$report"
[ "$status" -eq 0 ] || fail "appstreamcli validate failed with status $status"
! echo "$report" | grep -qE '^[EW]: ' || fail "appstreamcli reports errors or warnings"

desktop_id=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$file")
[ -n "$desktop_id" ] || fail "no desktop-id launchable"
[ -f "$p/share/applications/$desktop_id" ] || fail "the launchable $desktop_id is not installed"
grep -q "<id>$APP_ID</id>" "$file" || fail "the component id is not $APP_ID, the file's name"
grep -q "<release version=\"$PROJECT_VERSION\"" "$file" ||
  fail "no release entry for version $PROJECT_VERSION"
# The release is dated as the package changelog's entry for it.
released=$(dpkg-parsechangelog -l "$SOURCE_DIR/dist/changelog" -S Date) || fail "dist/changelog does not parse"
released=$(date -u -d "$released" +%F)
grep -q "<release version=\"$PROJECT_VERSION\" date=\"$released\"" "$file" ||
  fail "the release entry for $PROJECT_VERSION is not dated $released, as dist/changelog is"
echo "metainfo: ok"
