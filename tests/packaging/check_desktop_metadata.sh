#!/usr/bin/env bash
# Checks the desktop entry, the AppStream data, the manual page and the changelog as the tools of a
# desktop and of Debian read them, and that they all name the same application.
# Usage: check_desktop_metadata.sh SOURCE_DIR APP_ID VERSION
set -uo pipefail
source_dir=$1 app_id=$2 version=$3
packaging=$source_dir/packaging
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

desktop=$packaging/$app_id.desktop
metainfo=$packaging/$app_id.metainfo.xml

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"

value() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(value Icon)" = "$app_id" ] || fail "Icon=$(value Icon): the installed icons are named $app_id"
[ "$(value Exec)" = glouto ] || fail "Exec=$(value Exec): the program is glouto"
[ "$(value Name)" = Glouto ] || fail "Name=$(value Name)"
[[ "$(value Categories)" == *Game\;*ArcadeGame\;* ]] || fail "Categories=$(value Categories)"

grep -q "<id>$app_id</id>" "$metainfo" || fail "the AppStream id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream data does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream data has no release $version"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$packaging/glouto.6" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page has formatting warnings: $warnings"

changelog_version=$(dpkg-parsechangelog -l "$packaging/changelog" -S Version 2>&1)
[ "$changelog_version" = "$version" ] || fail "the changelog's newest version is '$changelog_version', not $version"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "desktop entry, AppStream data, manual page and changelog are valid and agree"
