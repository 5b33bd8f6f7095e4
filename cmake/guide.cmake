# The technician's guide as a web page for the desktop programs' "Guide" entry: docs/GUIDE.md
# made into doc/guide.html in the build folder, its pictures beside it in doc/guide/.
#
# cmark-gfm renders the dialect the guide is written in (CommonMark with GitHub's tables)
# exactly as the repository's own pages show it, is a small C program with no run-time of its
# own, and leaves out raw HTML unless told otherwise.
find_program(CMARK_GFM cmark-gfm REQUIRED)
set(VELT_GUIDE_DIR ${CMAKE_BINARY_DIR}/doc)
file(GLOB VELT_GUIDE_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/guide/*/*.png)
set(outputs ${VELT_GUIDE_DIR}/guide.html)
foreach(picture ${VELT_GUIDE_PICTURES})
  file(RELATIVE_PATH name ${CMAKE_SOURCE_DIR}/docs ${picture})
  list(APPEND outputs ${VELT_GUIDE_DIR}/${name})
endforeach()
add_custom_command(OUTPUT ${outputs}
  COMMAND ${CMAKE_COMMAND} -DCMARK_GFM=${CMARK_GFM} -DDOCS=${CMAKE_SOURCE_DIR}/docs
          -DOUT=${VELT_GUIDE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/make_guide.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/GUIDE.md ${CMAKE_SOURCE_DIR}/docs/guide.html.in
          ${CMAKE_SOURCE_DIR}/cmake/make_guide.cmake ${VELT_GUIDE_PICTURES}
  COMMENT "Making the guide's web page")
add_custom_target(velt-guide ALL DEPENDS ${outputs})
