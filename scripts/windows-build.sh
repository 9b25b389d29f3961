#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Glacimor for Windows and packs the zip that a Windows player unpacks and runs.
#
#   scripts/windows-build.sh [BUILD_DIR]     (default build/windows)
#
# Steps: SDL 2 and GLEW cross-built from Debian's sources (scripts/windows-deps.sh), the game
# cross-compiled with MinGW-w64 (cmake/mingw-w64-x86_64.cmake), then one folder "glacimor" with
# glacimor.exe, the two DLLs it needs, textures/, shader/, a README and the libraries' licences,
# zipped as BUILD_DIR/glacimor-windows.zip.
set -euo pipefail
source "$(dirname "$0")/windows-env.sh" "$@"

scripts/windows-deps.sh "$build"
deps=$build/deps

# --- The program ------------------------------------------------------------------------------
cmake -S . -B "$build/game" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF -DGLACIMOR_BENCH=OFF \
  -DGLACIMOR_WERROR="${GLACIMOR_WERROR:-OFF}" -DGLACIMOR_WINDOWS_DEPS="$deps" >"$build/game-configure.log" 2>&1 ||
  { tail -n 30 "$build/game-configure.log"; exit 1; }
cmake --build "$build/game" -j "$jobs" --target glacimor

# --- The folder the player unpacks ------------------------------------------------------------
stage=$build/stage/glacimor
rm -rf "$build/stage"
mkdir -p "$stage/textures" "$stage/shader"
$host-strip -o "$stage/glacimor.exe" "$build/game/glacimor.exe"
for dll in SDL2.dll glew32.dll; do
  $host-strip --strip-unneeded -o "$stage/$dll" "$deps/bin/$dll"
done
cp textures/*.bmp "$stage/textures/"
cp shader/*.vs shader/*.fs "$stage/shader/"
for f in cubeface.bmp cubeface2.bmp wall.bmp iceground.bmp; do
  [ -s "$stage/textures/$f" ] || { echo "windows-build: textures/$f is missing" >&2; exit 1; }
done
for f in GM_shader.vs GM_shader.fs GM_partshader.vs GM_partshader.fs; do
  [ -s "$stage/shader/$f" ] || { echo "windows-build: shader/$f is missing" >&2; exit 1; }
done

# The game's licence travels with the game, and the font's with the letters built into the program
# (CRLF, as below).
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
sed 's/$/\r/' LICENSES/Bitstream-Vera.txt >"$stage/LICENSE-font.txt"
# Notepad wants CRLF line ends.
sed 's/$/\r/' packaging/windows/README.txt >"$stage/README.txt"
# SDL (zlib) and GLEW (BSD/MIT) ask for their notices to travel with their DLLs.
sdl_src=$(find "$build/src" -maxdepth 1 -type d -name 'libsdl2-*' | head -n 1)
glew_src=$(find "$build/src" -maxdepth 1 -type d -name 'glew-*' | head -n 1)
sed 's/$/\r/' "$sdl_src/README-SDL.txt" >"$stage/README-SDL.txt"
sed 's/$/\r/' "$sdl_src/LICENSE.txt" >"$stage/LICENSE-SDL.txt"
sed 's/$/\r/' "$glew_src/LICENSE.txt" >"$stage/LICENSE-GLEW.txt"

# --- Every DLL that is loaded must be shipped or part of Windows ---------------------------------
system_dlls=" kernel32.dll user32.dll gdi32.dll msvcrt.dll opengl32.dll glu32.dll winmm.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll imm32.dll version.dll setupapi.dll "
missing=()
for pe in "$stage"/*.exe "$stage"/*.dll; do
  while read -r dll; do
    lower=$(echo "$dll" | tr 'A-Z' 'a-z')
    [[ "$system_dlls" == *" $lower "* ]] && continue
    [ -n "$(find "$stage" -maxdepth 1 -iname "$dll")" ] && continue
    missing+=("$(basename "$pe") needs $dll")
  done < <($host-objdump -p "$pe" | awk '/DLL Name:/ { print $3 }')
done
if [ ${#missing[@]} -gt 0 ]; then
  printf 'windows-build: not in the zip and not part of Windows: %s\n' "${missing[@]}" >&2
  exit 1
fi

# --- The zip ------------------------------------------------------------------------------------
zip_file=$build/glacimor-windows.zip
rm -f "$zip_file"
(cd "$build/stage" && zip -q -r -X "$zip_file" glacimor)
echo "windows-build: ${zip_file#"$root"/} ($(du -k "$zip_file" | cut -f1) KiB):"
unzip -l "$zip_file" | sed 's/^/  /'
