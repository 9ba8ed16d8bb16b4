# The manager's pictures, built from the Silk icon set by scripts/make-art.sh
# into VT_ART_DIR (target vt_art). Resource scripts include them by bare name
# with VT_ART_DIR on windres's include path; folders.bmp and foldersmask.bmp
# are read at run time and go beside the program in bin/ and dist/.
set(VT_ART_DIR ${CMAKE_BINARY_DIR}/art)
set(VT_ART_FILES menu.bmp menumask.bmp folders.bmp foldersmask.bmp glyphs.bmp glyphsmask.bmp
  about.bmp logo.bmp adminlock.bmp vtlock.ico)
list(TRANSFORM VT_ART_FILES PREPEND ${VT_ART_DIR}/ OUTPUT_VARIABLE VT_ART_OUTPUTS)
set(VT_ART_RUNTIME ${VT_ART_DIR}/folders.bmp ${VT_ART_DIR}/foldersmask.bmp)
add_custom_command(OUTPUT ${VT_ART_OUTPUTS}
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-art.sh ${VT_ART_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VT_BIN_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VT_ART_RUNTIME} ${VT_BIN_DIR}/
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-art.sh
  COMMENT "Building the pictures into ${VT_ART_DIR}" VERBATIM)
add_custom_target(vt_art DEPENDS ${VT_ART_OUTPUTS})
