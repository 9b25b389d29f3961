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
# when asked for (emscripten's own SDL port asks for them the same way). Their names begin with a
# "$", which the Makefiles' link line would double: they are handed to emscripten in a file.
file(WRITE ${CMAKE_BINARY_DIR}/sdl-library-functions.txt "$autoResumeAudioContext\n$dynCall\n")
target_link_options(glacimor_web_libs INTERFACE
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/sdl-library-functions.txt")

set(GLACIMOR_PLATFORM_LIBS glacimor_web_libs)

# The program as the page loads it (web/): WebGL 1 without emscripten's emulation of the fixed
# pipeline, memory that grows as the enemies come, and the two data folders preloaded into
# emscripten's file system at the paths the game reads them by, relative to its working folder
# (the root). The state report of the checks (game/state_report.h) is kept and callable by name,
# as the desktop's probe finds it, with the file system to read what it wrote.
function(glacimor_web_program target)
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
    "SHELL:-sEXPORTED_FUNCTIONS=[\"_main\",\"_glacimor_report_state\"]"
    "SHELL:-sEXPORTED_RUNTIME_METHODS=[\"ccall\",\"FS\"]"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/textures@/textures"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/shader@/shader")
  # A changed texture or shader makes the data file anew.
  file(GLOB data CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/textures/* ${CMAKE_SOURCE_DIR}/shader/*)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${data})
endfunction()
