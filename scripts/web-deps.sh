#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the SDL 2 that the browser build of Glacimor links against, with Debian's emscripten.
#
# Debian's emscripten comes with a frozen cache of prebuilt libraries and cannot fetch its own
# SDL port (-sUSE_SDL=2 would download one), so SDL is compiled here with `emcmake cmake` from
# Debian's own source package, libsdl2, fetched by scripts/debian-source.sh: the same SDL, at the
# same version, that this machine installs for the desktop build.
#
#   scripts/web-deps.sh [BUILD_DIR]     (default build/web)
#
# Result: BUILD_DIR/sdl2-<SDL's Debian version>-emscripten-<emscripten's version>, a prefix with
# lib/libSDL2.a, include/SDL2/ and lib/cmake/SDL2/, and BUILD_DIR/sdl2 a link to it. It is built
# once per SDL and emscripten version: a second run finds it and ends at once. The build runs at
# the lowest priority with JOBS (default 2) jobs, beside whatever else the machine is doing; delete
# the folder to build it anew.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/web}")
jobs=${JOBS:-2}

for tool in emcc emcmake emmake cmake; do
  command -v $tool >/dev/null || { echo "web-deps: $tool is missing (Debian's emscripten, cmake)" >&2; exit 1; }
done
source "$root/scripts/debian-source.sh"

sdl_version=$(debian_version libsdl2-2.0-0)
if [ -z "$sdl_version" ]; then
  apt-get update -qq
  sdl_version=$(debian_version libsdl2-2.0-0)
fi
[ -n "$sdl_version" ] || { echo "web-deps: this machine's apt sources offer no libsdl2-2.0-0" >&2; exit 1; }
em_version=$(emcc -dumpversion)
prefix=$build/sdl2-$sdl_version-emscripten-$em_version
# BUILD_DIR/sdl2 names the one the build uses.
if [ -e "$prefix/.built" ]; then
  ln -sfn "$(basename "$prefix")" "$build/sdl2"
  echo "web-deps: SDL 2 for the browser is in ${prefix#"$root"/}"
  exit 0
fi

debian_sources_init "$build/apt" "$build/src" libsdl2-2.0-0
dir=$(fetch_source libsdl2 "$sdl_version")
echo "web-deps: SDL 2 from $(basename "$dir") with emscripten $em_version, $jobs jobs"

# A build folder of its own keeps the source tree clean for a rebuild.
obj=$build/sdl-build
rm -rf "$obj" "$prefix" && mkdir -p "$obj"
# What the game asks of SDL in a browser, and nothing else, which also keeps the build short:
# - the video driver on the page's canvas with an OpenGL ES 2 (WebGL 1) context through
#   emscripten's EGL, the Web Audio driver, the joystick driver on the Gamepad API (the game
#   controller mapping is SDL's own, in the joystick subsystem), timers and events;
# - no threads (emscripten without -pthread runs the page's one thread; SDL's generic thread code
#   then reports threads as unsupported), no shared library, no dynamic loading;
# - no 2D renderer, haptics, sensors, HIDAPI, offscreen or dummy drivers, disk audio, tests;
# - no ccache, and no desktop OpenGL (a browser has only WebGL).
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON
  -DSDL_PTHREADS=OFF -DSDL_THREADS=ON -DSDL_ATOMIC=OFF -DSDL_LOADSO=OFF -DSDL_CPUINFO=OFF
  -DSDL_VIDEO=ON -DSDL_OPENGL=OFF -DSDL_OPENGLES=ON
  -DSDL_AUDIO=ON -DSDL_DISKAUDIO=OFF -DSDL_DUMMYAUDIO=OFF
  -DSDL_JOYSTICK=ON -DSDL_HIDAPI=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF
  -DSDL_RENDER=OFF -DSDL_OFFSCREEN=OFF -DSDL_DUMMYVIDEO=OFF
  -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF
  -DSDL_CCACHE=OFF
)
(cd "$obj" && nice -n 19 emcmake cmake "$dir" "${options[@]}" >configure.log 2>&1) ||
  { tail -n 30 "$obj/configure.log" >&2; exit 1; }
nice -n 19 cmake --build "$obj" -j "$jobs" >"$obj/make.log" 2>&1 || { tail -n 30 "$obj/make.log" >&2; exit 1; }
cmake --install "$obj" >"$obj/install.log" 2>&1 || { tail -n 30 "$obj/install.log" >&2; exit 1; }
[ -s "$prefix/lib/libSDL2.a" ] || { echo "web-deps: SDL's build left no $prefix/lib/libSDL2.a" >&2; exit 1; }
touch "$prefix/.built"
ln -sfn "$(basename "$prefix")" "$build/sdl2"
echo "web-deps: SDL 2 for the browser is in ${prefix#"$root"/}"
