#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every file that git tracks and that names no licence yet the game's licence header: "The
# Glacimor developers", GPL-3.0-or-later (see CONTRIBUTING.md). Files that already carry one (the
# font's data, the AppStream metadata) are left as they are; pictures are licensed in .reuse/dep5.
# Run it after adding files, then `reuse lint`.
#   scripts/annotate.sh
set -euo pipefail
# All of it in one function called on the last line: bash reads a script as it runs, and this one
# rewrites itself when it gives itself its header.
main() {
    cd "$(dirname "$0")/.."
    holder="The Glacimor developers"
    year=2026
    licence=GPL-3.0-or-later
    annotate=(reuse annotate --template glacimor --copyright "$holder" --year "$year" --license "$licence" --skip-existing)

    # The tag is matched in two pieces, so that this script is not taken for one that names a licence.
    has_header() { grep -q "SPDX-License""-Identifier:" "$1"; }

    auto=() hash_style=() dot_licence=()
    while IFS= read -r -d '' file; do
        [ -f "$file" ] || continue
        # The licence texts themselves, what REUSE reads, and the files .reuse/dep5 names because their
        # formats have no place for a header.
        case "$file" in LICENSE | LICENSES/* | .reuse/* | packaging/copyright | packaging/changelog) continue ;; esac
        # Binary files cannot carry one: .reuse/dep5 names them.
        grep -Iq . "$file" || continue
        # REUSE-IgnoreStart (the header lines below are written into other files, not this one's)
        case "$file" in
            shader/*.vs | shader/*.fs)
                # The version line stays first, where every GLSL compiler looks for it. Files that have
                # a header already are skipped here as reuse's --skip-existing skips the others.
                has_header "$file" && continue
                sed -i "1a // SPDX-FileCopyrightText: $year $holder\n// SPDX-License-Identifier: $licence" "$file" ;;
            *.6)
                # A manual page: troff's comment.
                has_header "$file" && continue
                sed -i "1i .\\\\\" SPDX-FileCopyrightText: $year $holder\n.\\\\\" SPDX-License-Identifier: $licence" "$file" ;;
            CMakeLists.txt | */CMakeLists.txt) auto+=("$file") ;;
            *.txt) [ -e "$file.license" ] || dot_licence+=("$file") ;; # read by players as it is: the header goes beside it
            *.desktop | *.in | *.supp | .ci/*) hash_style+=("$file") ;;
            *) auto+=("$file") ;;
        esac
        # REUSE-IgnoreEnd
    done < <(git ls-files -z)

    # A kind of file reuse does not know is skipped, not guessed at: reuse lint names it below, and
    # it gets a case above.
    [ ${#auto[@]} -eq 0 ] || "${annotate[@]}" --skip-unrecognised "${auto[@]}"
    [ ${#hash_style[@]} -eq 0 ] || "${annotate[@]}" --style python "${hash_style[@]}"
    [ ${#dot_licence[@]} -eq 0 ] || "${annotate[@]}" --force-dot-license "${dot_licence[@]}"
    reuse lint -q || { reuse lint >&2; exit 1; }
}
main "$@"; exit
