# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Regenerates the world textures into a scratch folder and requires them to match the committed
# files byte for byte, so the art in textures/ is always what tools/texgen.cpp paints.
# Expects -DTEXGEN=<program> -DSOURCE=<repo root> -DOUT=<scratch folder>.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${TEXGEN}" "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "texgen failed: ${status}")
endif()
foreach(name cubeface.bmp cubeface2.bmp wall.bmp iceground.bmp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}" "${SOURCE}/textures/${name}"
    RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "textures/${name} is not what texgen makes; run `make textures` and commit the result")
  endif()
endforeach()
