#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: scripts/package.sh (what `make package` runs) builds it from the sources; its
# files, their places and its Depends are checked with dpkg-deb, and lintian finds no error and no
# warning in it (docs/INSTALL.md lists what it still reports); dpkg installs it into a scratch
# root, the installed game is started from an unrelated folder on a virtual display and Escape ends
# it with status 0; dpkg then removes it and nothing of it is left under usr/.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

log "building the package (scripts/package.sh)"
JOBS=2 "$REPO/scripts/package.sh" "$OUT/build" "$OUT" >"$OUT/package.log" 2>&1 ||
    fail "scripts/package.sh failed (see $OUT/package.log)"
shopt -s nullglob
debs=("$OUT"/glacimor_*.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || fail "expected one glacimor_*.deb in $OUT, found ${#debs[@]}"
DEB=${debs[0]}
ARCH=$(dpkg --print-architecture)
VERSION=$(dpkg-deb -f "$DEB" Version)
[ "$(basename "$DEB")" = "glacimor_${VERSION}_${ARCH}.deb" ] || fail "unexpected package name $(basename "$DEB")"
log "built $(basename "$DEB")"

# The control fields.
[ "$(dpkg-deb -f "$DEB" Package)" = glacimor ] || fail "the package is not named glacimor"
[ "$(dpkg-deb -f "$DEB" Architecture)" = "$ARCH" ] || fail "the package is not for $ARCH"
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "the package is not in the section games"

# Exactly these files, owned by root, the two programs executable and nothing else.
dpkg-deb -c "$DEB" >"$OUT/contents.txt" || fail "dpkg-deb -c cannot read the package"
EXPECTED="./usr/games/glacimor
./usr/lib/games/glacimor/glacimor
./usr/share/applications/io.github.glacimor.glacimor.desktop
./usr/share/doc/glacimor/changelog.gz
./usr/share/doc/glacimor/copyright
./usr/share/games/glacimor/shader/GM_partshader.fs
./usr/share/games/glacimor/shader/GM_partshader.vs
./usr/share/games/glacimor/shader/GM_shader.fs
./usr/share/games/glacimor/shader/GM_shader.vs
./usr/share/games/glacimor/textures/cubeface.bmp
./usr/share/games/glacimor/textures/cubeface2.bmp
./usr/share/games/glacimor/textures/iceground.bmp
./usr/share/games/glacimor/textures/wall.bmp
./usr/share/icons/hicolor/64x64/apps/glacimor.png
./usr/share/man/man6/glacimor.6.gz
./usr/share/metainfo/io.github.glacimor.glacimor.metainfo.xml"
actual=$(awk '$1 !~ /^d/ { print $NF }' "$OUT/contents.txt" | sort)
[ "$actual" = "$EXPECTED" ] ||
    fail "the package's files differ from the expected list: $(diff <(echo "$EXPECTED") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
awk '$2 != "root/root" { bad = 1; print } END { exit bad }' "$OUT/contents.txt" >"$OUT/not-root.txt" ||
    fail "files not owned by root: $(cat "$OUT/not-root.txt")"
for f in ./usr/games/glacimor ./usr/lib/games/glacimor/glacimor; do
    awk -v f="$f" '$NF == f { exit $1 == "-rwxr-xr-x" ? 0 : 1 }' "$OUT/contents.txt" || fail "$f is not mode 755"
done

# Debian's own checks of a package. What it still reports is below warnings, and each tag is
# explained in docs/INSTALL.md; a new error or warning fails here.
lintian --fail-on error,warning --display-info --display-experimental --pedantic "$DEB" >"$OUT/lintian.log" 2>&1 ||
    fail "lintian finds errors or warnings: $(grep -E '^[EW]: ' "$OUT/lintian.log" | head -n 10 | tr '\n' ' ')"
log "lintian: $(grep -cE '^[IXP]: ' "$OUT/lintian.log") notes below warnings ($(grep -oE '^[IXP]: glacimor: [a-z0-9-]+' "$OUT/lintian.log" | sed 's/.*: //' | tr '\n' ' '))"

# Depends as dpkg-shlibdeps computes it: every library the program links is named through the
# package that holds it (or a name that package provides), and the test machine, which plays the
# game, satisfies all of it: apt would install nothing else.
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
log "Depends: $DEPENDS"
dep_names=" $(echo "$DEPENDS" | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/:[a-z0-9]+//' | tr -d ' ' | sort -u | tr '\n' ' ')"
mkdir -p "$OUT/extract"
dpkg-deb -x "$DEB" "$OUT/extract"
needed=$(readelf -d "$OUT/extract/usr/lib/games/glacimor/glacimor" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for lib in libSDL2-2.0.so.0 libGLEW libstdc++.so.6 libc.so.6; do
    echo "$needed" | grep -q "^$lib" || fail "the program does not link $lib (NEEDED: $(echo $needed))"
done
# The game makes its own mipmaps and matrices: GLU, which a browser's GL lacks, is not needed.
echo "$needed" | grep -q '^libGLU' && fail "the program links GLU (NEEDED: $(echo $needed))"
echo "$needed" | grep -q '^libSDL-1\.2' && fail "the program links SDL 1.2 (NEEDED: $(echo $needed))"
for lib in $needed; do
    path=$(ldconfig -p | awk -v l="$lib" '$1 == l { print $NF; exit }')
    [ -n "$path" ] || fail "the library $lib is not on this machine"
    # The name the loader uses, under /lib or /usr/lib (merged /usr), before the file it points to.
    owner=""
    for p in "$path" "/usr${path#/usr}" "${path#/usr}" "$(readlink -f "$path")"; do
        owner=$(dpkg -S "$p" 2>/dev/null) && break
    done
    [ -n "$owner" ] || fail "no package holds $path"
    owner=${owner%%:*}
    owner=${owner%%,*}
    names="$owner $(dpkg-query -W -f='${Provides}' "$owner" | tr ',' '\n' | sed -E 's/\(.*\)//' | tr -d ' ' | tr '\n' ' ')"
    found=""
    for n in $names; do
        case "$dep_names" in *" $n "*) found=$n ;; esac
    done
    [ -n "$found" ] || fail "Depends names no package for $lib (held by $owner): $DEPENDS"
done
apt-get install --simulate -q "$DEB" >"$OUT/apt-simulate.log" 2>&1 || fail "apt cannot install the package (see $OUT/apt-simulate.log)"
others=$(awk '$1 == "Inst" && $2 != "glacimor"' "$OUT/apt-simulate.log")
[ -z "$others" ] || fail "this machine lacks dependencies of the package: $others"

# Install into a scratch root with its own dpkg database; the libraries come from this machine.
ROOT="$OUT/root"
mkdir -p "$ROOT/var/lib/dpkg/info" "$ROOT/var/lib/dpkg/updates" "$ROOT/var/lib/dpkg/triggers"
: >"$ROOT/var/lib/dpkg/status"
: >"$ROOT/var/lib/dpkg/available"
DPKG=(dpkg "--root=$ROOT" "--log=$OUT/dpkg.log" --force-depends)
[ "$(id -u)" -eq 0 ] || DPKG+=(--force-not-root)
"${DPKG[@]}" -i "$DEB" >"$OUT/dpkg-install.log" 2>&1 || fail "dpkg -i failed (see $OUT/dpkg-install.log)"
[ "$(dpkg "--root=$ROOT" -s glacimor 2>/dev/null | sed -n 's/^Status: //p')" = "install ok installed" ] ||
    fail "dpkg does not list glacimor as installed in the scratch root"
for f in $EXPECTED; do
    [ -f "$ROOT/${f#./}" ] || fail "missing after dpkg -i: ${f#.}"
done
for f in textures/cubeface.bmp textures/cubeface2.bmp textures/wall.bmp textures/iceground.bmp \
    shader/GM_shader.vs shader/GM_shader.fs shader/GM_partshader.vs shader/GM_partshader.fs; do
    cmp -s "$REPO/$f" "$ROOT/usr/share/games/glacimor/$f" || fail "/usr/share/games/glacimor/$f differs from the repository's"
done
# The copyright file is the repository's, and the changelog's latest entry is this version.
cmp -s "$REPO/packaging/copyright" "$ROOT/usr/share/doc/glacimor/copyright" || fail "the packaged copyright file is not packaging/copyright"
gzip -dc "$ROOT/usr/share/doc/glacimor/changelog.gz" >"$OUT/changelog"
[ "$(dpkg-parsechangelog -l "$OUT/changelog" -S Version)" = "$VERSION" ] ||
    fail "the changelog's latest entry is not version $VERSION"
# The installed metadata as a software centre reads it: the desktop entry that the AppStream file
# launches, with its icon, in one tree.
# As in tests/packaging/test_metadata.sh, a validator older than AppStream 1.0 may only remark that
# it does not know <developer>.
appstreamcli validate-tree --no-net --pedantic "$ROOT/usr" >"$OUT/validate-tree.log" 2>&1 ||
    fail "appstreamcli validate-tree rejects the installed files (see $OUT/validate-tree.log)"
findings=$(grep -E '^[EWIP]: ' "$OUT/validate-tree.log")
if dpkg --compare-versions "$(appstreamcli --version | sed -n 's/^AppStream version: //p')" lt 1.0; then
    findings=$(grep -v ': unknown-tag developer$' <<<"$findings")
fi
[ -z "$findings" ] || fail "appstreamcli validate-tree remarks on the installed files: $findings"
MANWIDTH=80 man --warnings -l "$ROOT/usr/share/man/man6/glacimor.6.gz" >"$OUT/man.txt" 2>"$OUT/man.stderr" ||
    fail "man cannot render the installed page"
[ ! -s "$OUT/man.stderr" ] || fail "the installed manual page renders with warnings: $(head -n 3 "$OUT/man.stderr")"
grep -q '^NAME' "$OUT/man.txt" || fail "the installed manual page shows no NAME section"

# Play: the launcher in usr/games from a folder without the game's data.
start_xvfb
ELSEWHERE="$OUT/elsewhere"
mkdir -p "$ELSEWHERE"
(cd "$ELSEWHERE" && exec "$ROOT/usr/games/glacimor") >"$OUT/game.stdout" 2>"$OUT/game.stderr" </dev/null &
GAME_PID=$!
log "installed game started from $ELSEWHERE (pid $GAME_PID)"
wait_for_window Glacimor 60
wait_for_first_frames 60
log "the installed game runs with its textures and HUD (window $WID)"
press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "the installed game ended with status $GAME_STATUS after Escape"
[ ! -s "$OUT/game.stderr" ] || log "game stderr: $(head -n 3 "$OUT/game.stderr")"

# Remove: nothing of the package is left.
"${DPKG[@]}" -r glacimor >"$OUT/dpkg-remove.log" 2>&1 || fail "dpkg -r failed (see $OUT/dpkg-remove.log)"
left=$(find "$ROOT" -mindepth 1 -not -path "$ROOT/var" -not -path "$ROOT/var/*" | head -n 20)
[ -z "$left" ] || fail "left behind after dpkg -r: $left"
dpkg "--root=$ROOT" -s glacimor >/dev/null 2>&1 && fail "dpkg still lists glacimor after dpkg -r"

pass "package built, checked, installed, played from elsewhere, ended by Escape with status 0, removed"
