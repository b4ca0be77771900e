# Renders a manual page as plain UTF-8 text for reading without man (the Windows ZIP):
#   cmake -DGROFF=<groff> -DINPUT=<page.1> -DOUTPUT=<page.txt> -P RenderManPage.cmake
# No bold or underline escapes, one page with no breaks (-rcR=1), no hyphenation (-rHY=0).
# Any groff warning fails the build, as a manual page warning fails the install test.
execute_process(
  COMMAND "${GROFF}" -ww -man -Tutf8 -P-cbou -rcR=1 -rHY=0 "${INPUT}"
  OUTPUT_FILE "${OUTPUT}.tmp"
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  file(REMOVE "${OUTPUT}.tmp")
  message(FATAL_ERROR "groff failed on ${INPUT} (status ${status}):\n${warnings}")
endif()
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
