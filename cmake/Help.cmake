# The administrator's guide: docs/help compiled into vtlock.chm (target
# vt_help), shipped beside vtlock.exe in bin/ and dist/.
find_program(VT_CHMCMD chmcmd)
set(VT_HELP_FILE)
if(NOT VT_CHMCMD)
  message(WARNING "chmcmd not found (Debian package fp-utils): no vtlock.chm")
  return()
endif()
set(VT_HELP_DIR ${CMAKE_BINARY_DIR}/help)
set(VT_HELP_FILE ${VT_HELP_DIR}/vtlock.chm)
file(GLOB VT_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*
  ${CMAKE_SOURCE_DIR}/docs/screenshots/*.png)
add_custom_command(OUTPUT ${VT_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -DPAGES=${CMAKE_SOURCE_DIR}/docs/help -DSHOTS=${CMAKE_SOURCE_DIR}/docs/screenshots
          -DWORK=${VT_HELP_DIR} -DCHMCMD=${VT_CHMCMD} -P ${CMAKE_SOURCE_DIR}/cmake/BuildHelp.cmake
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VT_BIN_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VT_HELP_FILE} ${VT_BIN_DIR}/
  DEPENDS ${VT_HELP_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/BuildHelp.cmake
  COMMENT "Compiling the help file vtlock.chm" VERBATIM)
add_custom_target(vt_help DEPENDS ${VT_HELP_FILE})
