# Renders a manual page as the Windows ZIP's text file: plain ASCII, CR LF line ends.
#   cmake -DGROFF=<groff> -DINPUT=<page.1> -DOUTPUT=<page.txt> -P RenderManPage.cmake
# groff's ASCII device with no bold, underline or overstrike (-P-cbou), one page with no breaks
# (-rcR=1), no hyphenation (-rHY=0). Any groff warning fails the build, as a manual page
# warning fails the install test.
include("${CMAKE_CURRENT_LIST_DIR}/WindowsText.cmake")
execute_process(
  COMMAND "${GROFF}" -ww -man -Tascii -P-cbou -rcR=1 -rHY=0 "${INPUT}"
  OUTPUT_VARIABLE text
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff failed on ${INPUT} (status ${status}):\n${warnings}")
endif()
stationdiff_windows_text(text "${INPUT}")
file(WRITE "${OUTPUT}" "${text}")
