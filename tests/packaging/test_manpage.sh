#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The manual page glacimor(6): man renders the source and the compressed page that is installed
# without a warning, with the sections a player looks for, and names the version of the build.
#   test_manpage.sh <repo-root> <version> <built glacimor.6.gz>
set -u
REPO=$1
VERSION=$2
BUILT=$3
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

for page in "$REPO/packaging/glacimor.6" "$BUILT"; do
    [ -f "$page" ] || { fail "no manual page at $page"; continue; }
    text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$BUILT.stderr") || fail "man cannot render $page"
    [ ! -s "$BUILT.stderr" ] || fail "man warns about $page: $(head -n 5 "$BUILT.stderr")"
    for section in NAME SYNOPSIS DESCRIPTION CONTROLS SETTINGS SCREEN FILES "EXIT STATUS" NOTES; do
        grep -qx "$section" <<<"$text" || fail "$page has no section $section"
    done
    grep -q "^GLACIMOR(6) " <<<"$text" || fail "$page is not glacimor in section 6"
    grep -q "Glacimor $VERSION" <<<"$text" || fail "$page does not name the version $VERSION"
done
rm -f "$BUILT.stderr"
# The installed page is the source, compressed.
gzip -dc "$BUILT" | cmp -s - "$REPO/packaging/glacimor.6" || fail "$BUILT is not packaging/glacimor.6 compressed"

[ $status -eq 0 ] && echo "manual page: renders without warnings, sections and version present"
exit $status
