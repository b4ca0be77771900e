# Turns text into what the Windows ZIP holds: plain ASCII with CR LF line ends, readable in
# Notepad and any console code page.
#   cmake "-DINPUTS=<file>;<file>..." -DOUTPUT=<file.txt> -P WindowsText.cmake
# joins the inputs into OUTPUT, spelling the characters listed below in ASCII. Any other
# character outside ASCII fails the build, naming it, so that a new one gets a spelling here
# rather than reaching the ZIP. RenderManPage.cmake uses the function for the manual pages.
# With -DLINE_ENDS_ONLY=ON only the line ends change, for the example inputs, whose bytes are
# the point. Of an input named README.md only the sections listed below are taken: what a
# Windows user needs, not the Debian build steps.

# Each pair: a character of the documents and its ASCII spelling. An accented letter becomes
# the letter and a mark after it (A' for A acute), so that an example of byte order such as
# Arok with an accent does not read as plain ASCII.
set(_stationdiff_ascii_spellings
    "×" "x" "≈" "~" "≤" "<=" "≥" ">=" "→" "->" "–" "-" "—" "--" "‘" "'" "’" "'" "“" "\""
    "”" "\"" "…" "..." "µ" "u" "±" "+/-" "·" "."
    "Á" "A'" "á" "a'" "É" "E'" "é" "e'" "Í" "I'" "í" "i'" "Ó" "O'" "ó" "o'" "Ö" "O:" "ö" "o:"
    "Ő" "O\"" "ő" "o\"" "Ú" "U'" "ú" "u'" "Ü" "U:" "ü" "u:" "Ű" "U\"" "ű" "u\"" "ß" "ss")

# The sections ("## <title>" up to the next one) of README.md that README.txt holds, in the
# README's order.
set(_stationdiff_windows_readme_sections
    "What it does" "Options" "Input layout" "Reports" "Rename hints" "Exit status" "Messages")

# stationdiff_readme_sections(<text variable>): the sections listed above of a README's text.
function(stationdiff_readme_sections text_var)
  string(REGEX MATCHALL "\n## [^\n]*" titles "${${text_var}}")
  set(kept "")
  foreach(title IN LISTS titles)
    string(SUBSTRING "${title}" 4 -1 name)
    list(FIND _stationdiff_windows_readme_sections "${name}" listed)
    if(listed EQUAL -1)
      continue()
    endif()
    string(FIND "${${text_var}}" "${title}\n" begin)
    string(SUBSTRING "${${text_var}}" ${begin} -1 rest)
    string(SUBSTRING "${rest}" 1 -1 rest)
    string(FIND "${rest}" "\n## " end)
    if(end GREATER -1)
      math(EXPR end "${end} + 1")
    endif()
    string(SUBSTRING "${rest}" 0 ${end} section)
    string(APPEND kept "\n${section}")
  endforeach()
  set(${text_var} "${kept}" PARENT_SCOPE)
endfunction()

# stationdiff_crlf(<text variable>): every line end CR LF; one that is already keeps one CR.
macro(stationdiff_crlf text_var)
  string(REPLACE "\r\n" "\n" ${text_var} "${${text_var}}")
  string(REPLACE "\n" "\r\n" ${text_var} "${${text_var}}")
endmacro()

# stationdiff_windows_text(<text variable> <name for messages>): the text in ASCII with CR LF
# line ends; a line that already ends in CR LF keeps one CR.
function(stationdiff_windows_text text_var name)
  set(text "${${text_var}}")
  set(pairs ${_stationdiff_ascii_spellings})
  list(LENGTH pairs count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET pairs ${i} from)
    list(GET pairs ${j} to)
    string(REPLACE "${from}" "${to}" text "${text}")
  endforeach()
  string(REGEX MATCH "[^\t\n\r -~]+" other "${text}")
  if(NOT other STREQUAL "")
    message(FATAL_ERROR "${name}: \"${other}\" has no ASCII spelling; add one to "
                        "cmake/WindowsText.cmake")
  endif()
  stationdiff_crlf(text)
  set(${text_var} "${text}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE AND DEFINED OUTPUT)
  set(text "")
  foreach(input IN LISTS INPUTS)
    file(READ "${input}" part)
    get_filename_component(name "${input}" NAME)
    if(name STREQUAL "README.md")
      stationdiff_readme_sections(part)
    endif()
    string(APPEND text "${part}")
  endforeach()
  if(LINE_ENDS_ONLY)
    stationdiff_crlf(text)
  else()
    stationdiff_windows_text(text "${OUTPUT}")
  endif()
  file(WRITE "${OUTPUT}" "${text}")
endif()
