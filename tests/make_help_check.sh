#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# `make help` names every target a contributor runs: each rule of the Makefile but the deps-*
# helpers, with its line of text. A rule added without its "## " text is missing from the list.
#   make_help_check.sh <repo-root>
set -u
cd "$1" || exit 1
listed=$(make --no-print-directory -s help | awk 'NR > 1 && NF > 1 { print $1 }' | sort)
rules=$(sed -n 's/^\([a-z][a-z-]*\):\([^=].*\)\{0,1\}$/\1/p' Makefile | grep -v '^deps-' | sort -u)
missing=$(comm -13 <(echo "$listed") <(echo "$rules"))
[ -n "$rules" ] || { echo "FAIL: no rules found in the Makefile" >&2; exit 1; }
[ -z "$missing" ] || { echo "FAIL: make help does not list: $(echo $missing) (add \"## text\" to the rule)" >&2; exit 1; }
echo "make help lists all $(echo "$rules" | wc -l) targets"
