# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser build's libraries, used by the top-level CMakeLists.txt in place of pkg-config and
# find_package when it is configured with Debian's emscripten (emcmake cmake). SDL 2 is the one
# scripts/web-deps.sh built from Debian's source into GLACIMOR_WEB_SDL; GL, GLU and GLEW are
# emscripten's own (WebGL, with the headers of desktop GL).
set(GLACIMOR_WEB_SDL "" CACHE PATH "Folder with SDL 2 built by scripts/web-deps.sh (lib/, include/)")
if(NOT EXISTS "${GLACIMOR_WEB_SDL}/lib/libSDL2.a")
  message(FATAL_ERROR "No SDL 2 for the browser in '${GLACIMOR_WEB_SDL}': run scripts/web-deps.sh first")
endif()

add_library(glacimor_web_libs INTERFACE)
# <SDL.h> is SDL 2's: emscripten's own include path has an SDL 1.2 of its own, which -I comes before.
target_include_directories(glacimor_web_libs INTERFACE "${GLACIMOR_WEB_SDL}/include/SDL2")
target_link_libraries(glacimor_web_libs INTERFACE "${GLACIMOR_WEB_SDL}/lib/libSDL2.a")
# SDL's Web Audio driver calls two functions of emscripten's JavaScript library that are linked only
# when asked for (emscripten's own SDL port asks for them the same way).
target_link_options(glacimor_web_libs INTERFACE
  "SHELL:-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[\"$autoResumeAudioContext\",\"$dynCall\"]")

set(GLACIMOR_PLATFORM_LIBS glacimor_web_libs)
