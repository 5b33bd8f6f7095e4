# Run by cmake/guide.cmake: DOCS/GUIDE.md into OUT/guide.html (the page of DOCS/guide.html.in
# around it), and DOCS/guide/ copied to OUT/guide/.
execute_process(COMMAND ${CMARK_GFM} --validate-utf8 --extension table ${DOCS}/GUIDE.md
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmark-gfm could not make the guide: ${failed}")
endif()
file(READ ${DOCS}/guide.html.in page)
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE ${OUT}/guide.html "${page}")
file(REMOVE_RECURSE ${OUT}/guide)
file(COPY ${DOCS}/guide DESTINATION ${OUT})
