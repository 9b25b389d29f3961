#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The desktop entry and the AppStream metadata: both validators accept them, and they agree with
# each other, with the screenshots in docs/ and with the version of the build.
#   test_metadata.sh <repo-root> <version>
set -u
REPO=$1
VERSION=$2
ID=io.github.glacimor.glacimor
DESKTOP="$REPO/packaging/$ID.desktop"
METAINFO="$REPO/packaging/$ID.metainfo.xml"
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

[ -f "$DESKTOP" ] || { echo "FAIL: no desktop entry $DESKTOP" >&2; exit 1; }
[ -f "$METAINFO" ] || { echo "FAIL: no AppStream file $METAINFO" >&2; exit 1; }

# desktop-file-validate prints hints as well as errors; any line is a finding.
out=$(desktop-file-validate "$DESKTOP" 2>&1) || fail "desktop-file-validate rejects the entry"
[ -z "$out" ] || fail "desktop-file-validate: $out"

# --pedantic: every remark fails, down to the pedantic ones. AppStream 1.0 replaced <developer_name>
# by <developer>; a validator older than 1.0 (Debian 12 has 0.16) does not know that tag yet and
# says so, the one remark let through there.
out=$(appstreamcli validate --no-net --pedantic "$METAINFO" 2>&1) || fail "appstreamcli validate: $out"
findings=$(grep -E '^[EWIP]: ' <<<"$out")
if dpkg --compare-versions "$(appstreamcli --version | sed -n 's/^AppStream version: //p')" lt 1.0; then
    findings=$(grep -v ': unknown-tag developer$' <<<"$findings")
fi
[ -z "$findings" ] || fail "appstreamcli validate --pedantic: $findings"

# The XML read with a real parser (xmllint), not by pattern: one line per node found.
query() {
    xmllint --xpath "$1" "$METAINFO" 2>/dev/null
}
id=$(query '/component/id/text()')
[ "$id" = "$ID" ] || fail "the AppStream id is '$id', not the desktop entry's name $ID"
launchable=$(query "/component/launchable[@type='desktop-id']/text()")
[ "$launchable" = "$ID.desktop" ] || fail "the AppStream file launches '$launchable', not $ID.desktop"
name=$(query '/component/name/text()')
[ "$name" = "$(sed -n 's/^Name=//p' "$DESKTOP")" ] || fail "the names of the two files differ ('$name')"
binary=$(query '/component/provides/binary/text()')
exec_line=$(sed -n 's/^Exec=//p' "$DESKTOP")
[ "$binary" = "$exec_line" ] || fail "the AppStream binary '$binary' is not the desktop entry's Exec '$exec_line'"
release=$(query 'string(/component/releases/release[1]/@version)')
[ "$release" = "$VERSION" ] || fail "the AppStream release '$release' is not the build's version $VERSION"
# The pictures of docs/ are the screenshots, each named once, and no other.
shots=$(query '/component/screenshots/screenshot/image/text()' | sed 's|.*/||' | sort)
docs=$(cd "$REPO/docs" && ls screenshot-*.png | sort)
[ -n "$docs" ] || fail "docs/ holds no screenshot-*.png"
[ "$shots" = "$docs" ] || fail "the AppStream screenshots ($(echo $shots)) are not the pictures of docs/ ($(echo $docs))"
grep -q 'OpenGL 2.1' "$METAINFO" || fail "the description does not state the OpenGL 2.1 requirement"
# AppStream 1.0: the developer with an id and a name, and the release described.
[ -n "$(query 'string(/component/developer/@id)')" ] && [ -n "$(query 'string(/component/developer/name)')" ] ||
    fail "no <developer id=...><name> in the AppStream file"
[ -z "$(query '/component/developer_name')" ] || fail "the AppStream file still has <developer_name>"
[ "$(query 'count(/component/releases/release[1]/description/p)')" -gt 0 ] ||
    fail "the AppStream release $release has no description"
# The project's licences are those of LICENSES/, less the metadata's own CC0.
project=$(query 'string(/component/project_license)' | tr ' ' '\n' | grep -vx -e AND -e '' | sort)
licences=$(cd "$REPO/LICENSES" && ls ./*.txt | sed 's|^\./||; s|\.txt$||' | grep -vx CC0-1.0 | sort)
[ "$project" = "$licences" ] ||
    fail "the AppStream project_license names $(echo $project), LICENSES/ holds $(echo $licences)"

[ $status -eq 0 ] && echo "desktop entry and AppStream metadata: valid and consistent"
exit $status
