# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build's libraries, used by the top-level CMakeLists.txt in place of pkg-config and
# find_package. SDL 2 and GLEW are the ones scripts/windows-deps.sh cross-built into
# GLACIMOR_WINDOWS_DEPS; GLU and OpenGL are Windows' own glu32 and opengl32.
set(GLACIMOR_WINDOWS_DEPS "${PROJECT_SOURCE_DIR}/build/windows/deps" CACHE PATH
  "Folder with the cross-built SDL 2 and GLEW (bin/, lib/, include/)")
if(NOT EXISTS "${GLACIMOR_WINDOWS_DEPS}/lib/libSDL2main.a" OR NOT EXISTS "${GLACIMOR_WINDOWS_DEPS}/lib/libglew32.dll.a")
  message(FATAL_ERROR "No Windows SDL 2 and GLEW in ${GLACIMOR_WINDOWS_DEPS}: run scripts/windows-deps.sh first")
endif()

add_library(glacimor_windows_libs INTERFACE)
# <SDL.h> as on Linux; SDL_main.h in it renames the game's main to SDL_main.
target_include_directories(glacimor_windows_libs INTERFACE
  "${GLACIMOR_WINDOWS_DEPS}/include/SDL2" "${GLACIMOR_WINDOWS_DEPS}/include")
target_link_directories(glacimor_windows_libs INTERFACE "${GLACIMOR_WINDOWS_DEPS}/lib")
# SDL2main's WinMain is the process entry and calls SDL_main; libmingw32 must come before it so
# that the C runtime's start-up finds that WinMain (as sdl2-config --libs lists them).
target_link_libraries(glacimor_windows_libs INTERFACE mingw32 SDL2main SDL2 glew32 glu32 opengl32)
# A window program without a console; the GCC runtime linked in, so the program needs only
# SDL2.dll, glew32.dll and Windows' own DLLs.
target_link_options(glacimor_windows_libs INTERFACE -mwindows -static-libgcc -static-libstdc++)

set(GLACIMOR_PLATFORM_LIBS glacimor_windows_libs)
