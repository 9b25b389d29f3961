#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Windows SDL 2 and GLEW that the Windows build of Glacimor links against.
#
# Debian ships neither as a Windows binary, so both are cross-compiled with MinGW-w64 from
# Debian's own source packages (libsdl2, glew), fetched by scripts/debian-source.sh.
#
#   scripts/windows-deps.sh [BUILD_DIR]     (default build/windows)
#
# Result: BUILD_DIR/deps with bin/SDL2.dll, bin/glew32.dll, the import libraries in lib/ and the
# headers in include/. Each library is built once; delete BUILD_DIR/deps to build them anew.
set -euo pipefail
source "$(dirname "$0")/windows-env.sh" "$@"

prefix=$build/deps
mkdir -p "$prefix"/{bin,lib,include/GL}

# The private apt configuration, with the archive and suite this machine installs the Linux builds
# of the same two source packages from (libsdl2-2.0-0 and libglew2.2).
source "$root/scripts/debian-source.sh"
debian_sources_init "$build/apt" "$build/src" libsdl2-2.0-0 libglew2.2

# --- SDL 2 ------------------------------------------------------------------------------------
build_sdl() {
  local dir
  dir=$(fetch_source libsdl2)
  echo "windows-deps: SDL 2 from $(basename "$dir")"
  # A build folder of its own keeps the source tree clean for a rebuild.
  local obj=$build/sdl-build
  rm -rf "$obj" && mkdir -p "$obj"
  # SDL's own Windows drivers (WGL for OpenGL; MinGW-w64 has the DirectX and XInput headers; the
  # game's sound plays through WASAPI, or DirectSound where WASAPI is missing). No static SDL: the
  # game links SDL2.dll, and SDL2main's WinMain comes as libSDL2main.a regardless.
  (cd "$obj" && "$dir/configure" --host=$host --prefix="$prefix" --disable-static --enable-shared \
      --enable-wasapi --enable-directsound >configure.log 2>&1) ||
    { tail -n 30 "$obj/configure.log"; exit 1; }
  make -C "$obj" -j "$jobs" >"$obj/make.log" 2>&1 || { tail -n 30 "$obj/make.log"; exit 1; }
  make -C "$obj" install >"$obj/install.log" 2>&1 || { tail -n 30 "$obj/install.log"; exit 1; }
  # configure leaves out a driver whose headers it does not find, without failing: the game would
  # be silent on Windows.
  grep -q '^#define SDL_AUDIO_DRIVER_WASAPI 1' "$prefix/include/SDL2/SDL_config.h" ||
    { echo "windows-deps: SDL was built without WASAPI, the game's Windows sound" >&2; exit 1; }
  touch "$prefix/.sdl2-built"
}

# --- GLEW -------------------------------------------------------------------------------------
build_glew() {
  local dir
  dir=$(fetch_source glew)
  echo "windows-deps: GLEW from $(basename "$dir")"
  make -C "$dir" SYSTEM=linux-mingw64 GLEW_DEST="$prefix" clean >/dev/null 2>&1 || true
  make -C "$dir" -j "$jobs" SYSTEM=linux-mingw64 GLEW_DEST="$prefix" glew.lib.shared \
    >"$build/glew-make.log" 2>&1 || { tail -n 30 "$build/glew-make.log"; exit 1; }
  # GLEW's own install step leaves out the import library, puts the DLL under lib/ and writes
  # a glew.pc that does not fit this build: install the headers, DLL and import library here.
  cp "$dir"/include/GL/{glew.h,wglew.h,glxew.h,eglew.h} "$prefix/include/GL/" 2>/dev/null ||
    cp "$dir"/include/GL/glew.h "$dir"/include/GL/wglew.h "$prefix/include/GL/"
  cp "$dir/lib/glew32.dll" "$prefix/bin/"
  cp "$dir/lib/libglew32.dll.a" "$prefix/lib/"
  touch "$prefix/.glew-built"
}

command -v $host-gcc >/dev/null || { echo "windows-deps: $host-gcc is missing (g++-mingw-w64-x86-64)" >&2; exit 1; }
[ -e "$prefix/.sdl2-built" ] || build_sdl
[ -e "$prefix/.glew-built" ] || build_glew
echo "windows-deps: SDL and GLEW for Windows are in ${prefix#"$root"/}"
