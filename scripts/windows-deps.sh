#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Windows SDL 2 and GLEW that the Windows build of Glacimor links against.
#
# Debian ships neither as a Windows binary, so both are cross-compiled with MinGW-w64 from
# Debian's own source packages (libsdl2, glew), fetched with `apt-get source` from the same
# Debian archive that this machine already installs from. The apt configuration used for that
# is private to the build folder: the machine's own sources, lists and caches stay untouched.
#
#   scripts/windows-deps.sh [BUILD_DIR]     (default build/windows)
#
# Result: BUILD_DIR/deps with bin/SDL2.dll, bin/glew32.dll, the import libraries in lib/ and the
# headers in include/. Each library is built once; delete BUILD_DIR/deps to build them anew.
set -euo pipefail
source "$(dirname "$0")/windows-env.sh" "$@"

apt_dir=$build/apt
src_dir=$build/src
prefix=$build/deps
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$src_dir" "$prefix"/{bin,lib,include/GL}

# --- Private apt configuration --------------------------------------------------------------
# The archive and suite are the ones this machine installs the Linux builds of the same two
# source packages from (libsdl2-2.0-0 and libglew2.2), as apt itself reports them.
archive_of() {
  apt-cache policy "$1" 2>/dev/null |
    awk '$1 ~ /^[0-9]+$/ && $NF == "Packages" && $2 ~ /^[a-z]+:/ { split($3, s, "/"); print $2, s[1]; exit }'
}
sdl_archive=$(archive_of libsdl2-2.0-0)
glew_archive=$(archive_of libglew2.2)
if [ -z "$sdl_archive" ] || [ -z "$glew_archive" ]; then
  # The package lists may be missing on a new machine; read them once, then ask again.
  apt-get update -qq
  sdl_archive=$(archive_of libsdl2-2.0-0)
  glew_archive=$(archive_of libglew2.2)
fi
if [ -z "$sdl_archive" ] || [ -z "$glew_archive" ]; then
  echo "windows-deps: this machine's apt sources offer no libsdl2-2.0-0 or libglew2.2" >&2
  exit 1
fi
printf 'deb-src %s main\n' "$sdl_archive" "$glew_archive" | sort -u >"$apt_dir/sources.list"

apt_private=(
  -o "Dir::Etc::sourcelist=$apt_dir/sources.list"
  -o "Dir::Etc::sourceparts=-"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "Dir::Cache::pkgcache="
  -o "Dir::Cache::srcpkgcache="
  -o "APT::Sandbox::User=root"
)

# --- Sources ----------------------------------------------------------------------------------
# Prints the folder that `apt-get source` unpacked a source package into, fetching it first.
fetch_source() {
  local name=$1 dir
  dir=$(find "$src_dir" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -n 1)
  if [ -z "$dir" ]; then
    if [ ! -s "$apt_dir/lists/.updated" ]; then
      apt-get "${apt_private[@]}" update -qq >&2
      date >"$apt_dir/lists/.updated"
    fi
    (cd "$src_dir" && apt-get "${apt_private[@]}" source -qq "$name" >"$build/source-$name.log" 2>&1) ||
      { tail -n 20 "$build/source-$name.log" >&2; exit 1; }
    dir=$(find "$src_dir" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -n 1)
  fi
  [ -n "$dir" ] || { echo "windows-deps: apt-get source $name gave no folder" >&2; exit 1; }
  echo "$dir"
}

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
