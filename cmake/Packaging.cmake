# Installation rules, manual pages, the Debian package and the Windows ZIP.
#
# Include this file at the end of the top-level CMakeLists.txt, after the
# targets `stationdiff` and `stationdiff-onefile` exist:
#
#   include(cmake/Packaging.cmake)
#
# Then:
#   cmake --install <build> --prefix <dir>   installs the programs, pages and documents
#   cpack -G DEB  (in <build>)               builds stationdiff_<ver>_<arch>.deb
#   cpack -G ZIP  (in a Windows build)       builds stationdiff-<ver>-win64.zip
#
# The package version comes only from project(VERSION ...), its date from
# STATIONDIFF_RELEASE_DATE beside it. Two package builds from one commit give the same bytes,
# whoever builds them: every time stamp in them is SOURCE_DATE_EPOCH, by default the commit's
# date (see PackageTimestamps.cmake), and every mode 0755 or 0644 (PackageModes.cmake).

include_guard(GLOBAL)
include(GNUInstallDirs)

# ---------------------------------------------------------------------------
# Programs
# ---------------------------------------------------------------------------
# On Windows everything goes into one flat folder, the ZIP's: the programs, the
# licence, the README and the manual pages as text.
if(WIN32)
  set(_stationdiff_bindir .)
else()
  set(_stationdiff_bindir ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS stationdiff stationdiff-onefile
        RUNTIME DESTINATION ${_stationdiff_bindir})

# A stripped install (cmake --install --strip, and so the Debian package) also drops the
# sections that Debian's dh_strip drops: .comment (the compilers' version strings) and .note.
# The build ID (.note.gnu.build-id) stays.
if(NOT WIN32 AND CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(_program stationdiff stationdiff-onefile)
        set(_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${_program}\")
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                --remove-section=.note \"\${_file}\" RESULT_VARIABLE _status)
        if(NOT _status EQUAL 0)
          message(FATAL_ERROR \"strip failed on \${_file}\")
        endif()
      endforeach()
    endif()")
endif()

# ---------------------------------------------------------------------------
# Manual pages
# ---------------------------------------------------------------------------
# Debian installs manual pages and larger documents compressed with `gzip -9n`
# (no name, no time stamp, so the result is reproducible). Without gzip, or
# with the option off, they are installed uncompressed; man reads both. On
# Windows the pages are rendered with groff into plain ASCII text files with
# CR LF line ends, <page>.txt. The pages' date is STATIONDIFF_RELEASE_DATE.
if(WIN32)
  find_program(STATIONDIFF_GROFF_EXECUTABLE groff)
  if(NOT STATIONDIFF_GROFF_EXECUTABLE)
    message(WARNING "groff not found (Debian: groff-base): the manual pages are left out")
  endif()
else()
  find_program(STATIONDIFF_GZIP_EXECUTABLE gzip)
  option(STATIONDIFF_COMPRESS_MANPAGES
         "Install the manual pages, README and changelog compressed with gzip -9n" ON)
  if(STATIONDIFF_COMPRESS_MANPAGES AND NOT STATIONDIFF_GZIP_EXECUTABLE)
    message(WARNING "gzip not found: installing uncompressed manual pages")
  endif()
endif()

set(_stationdiff_man_src_dir "${CMAKE_CURRENT_LIST_DIR}/../docs")
set(_stationdiff_man_build_dir "${PROJECT_BINARY_DIR}/man/man1")
set(_stationdiff_man_outputs)

foreach(_page IN ITEMS stationdiff stationdiff-onefile)
  set(_in "${_stationdiff_man_src_dir}/${_page}.1.in")
  set(_out "${_stationdiff_man_build_dir}/${_page}.1")
  configure_file("${_in}" "${_out}" @ONLY)

  if(WIN32)
    if(STATIONDIFF_GROFF_EXECUTABLE)
      set(_txt "${PROJECT_BINARY_DIR}/man/${_page}.txt")
      add_custom_command(
        OUTPUT "${_txt}"
        COMMAND "${CMAKE_COMMAND}" "-DGROFF=${STATIONDIFF_GROFF_EXECUTABLE}"
                "-DINPUT=${_out}" "-DOUTPUT=${_txt}"
                -P "${CMAKE_CURRENT_LIST_DIR}/RenderManPage.cmake"
        DEPENDS "${_out}" "${CMAKE_CURRENT_LIST_DIR}/RenderManPage.cmake"
                "${CMAKE_CURRENT_LIST_DIR}/WindowsText.cmake"
        COMMENT "Rendering manual page ${_page}.1 as text"
        VERBATIM)
      list(APPEND _stationdiff_man_outputs "${_txt}")
      install(FILES "${_txt}" DESTINATION .)
    endif()
  elseif(STATIONDIFF_COMPRESS_MANPAGES AND STATIONDIFF_GZIP_EXECUTABLE)
    add_custom_command(
      OUTPUT "${_out}.gz"
      COMMAND "${STATIONDIFF_GZIP_EXECUTABLE}" -9 -n -k -f "${_out}"
      DEPENDS "${_out}"
      COMMENT "Compressing manual page ${_page}.1"
      VERBATIM)
    list(APPEND _stationdiff_man_outputs "${_out}.gz")
    install(FILES "${_out}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES "${_out}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

if(_stationdiff_man_outputs)
  add_custom_target(stationdiff-manpages ALL DEPENDS ${_stationdiff_man_outputs})
endif()

# ---------------------------------------------------------------------------
# Licence and documents
# ---------------------------------------------------------------------------
# LICENSE holds the MIT licence. The Windows folder gets it as LICENSE.txt and
# the README as README.txt, opened by a section on running the programs from
# cmd or PowerShell (docs/README-windows.txt.in), both in ASCII with CR LF
# line ends (WindowsText.cmake), and the examples with CR LF line ends. A Debian system gets the licence as
# usr/share/doc/stationdiff/copyright in Debian's machine-readable format,
# written here from LICENSE: its copyright line, then the licence's text under
# the name Debian gives it, Expat.
set(_stationdiff_license "${PROJECT_SOURCE_DIR}/LICENSE")
set(_stationdiff_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
if(WIN32)
  configure_file("${PROJECT_SOURCE_DIR}/docs/README-windows.txt.in"
                 "${PROJECT_BINARY_DIR}/doc/README-windows.txt" @ONLY)
  set(_stationdiff_readme_parts "${PROJECT_BINARY_DIR}/doc/README-windows.txt"
                                "${PROJECT_SOURCE_DIR}/README.md")
  set(_stationdiff_windows_texts)
  foreach(_pair IN ITEMS "README.txt|${_stationdiff_readme_parts}"
                         "LICENSE.txt|${_stationdiff_license}")
    string(REPLACE "|" ";" _pair "${_pair}")
    list(POP_FRONT _pair _name)
    add_custom_command(
      OUTPUT "${PROJECT_BINARY_DIR}/doc/${_name}"
      COMMAND "${CMAKE_COMMAND}" "-DINPUTS=${_pair}" "-DOUTPUT=${PROJECT_BINARY_DIR}/doc/${_name}"
              -P "${CMAKE_CURRENT_LIST_DIR}/WindowsText.cmake"
      DEPENDS ${_pair} "${CMAKE_CURRENT_LIST_DIR}/WindowsText.cmake"
      COMMENT "Writing ${_name} for Windows"
      VERBATIM)
    list(APPEND _stationdiff_windows_texts "${PROJECT_BINARY_DIR}/doc/${_name}")
  endforeach()
  install(FILES ${_stationdiff_windows_texts} DESTINATION .)
  # The examples, in examples\two-file and examples\one-file, with CR LF line ends as Notepad
  # writes them; their names keep their UTF-8 bytes.
  foreach(_example IN ITEMS two-file/be.txt two-file/bemenet.txt two-file/frissites.txt
                            one-file/F.IN)
    set(_out "${PROJECT_BINARY_DIR}/doc/examples/${_example}")
    add_custom_command(
      OUTPUT "${_out}"
      COMMAND "${CMAKE_COMMAND}" "-DINPUTS=${PROJECT_SOURCE_DIR}/examples/${_example}"
              "-DOUTPUT=${_out}" -DLINE_ENDS_ONLY=ON -P "${CMAKE_CURRENT_LIST_DIR}/WindowsText.cmake"
      DEPENDS "${PROJECT_SOURCE_DIR}/examples/${_example}"
              "${CMAKE_CURRENT_LIST_DIR}/WindowsText.cmake"
      COMMENT "Writing examples/${_example} for Windows"
      VERBATIM)
    list(APPEND _stationdiff_windows_texts "${_out}")
    get_filename_component(_folder "${_example}" DIRECTORY)
    install(FILES "${_out}" DESTINATION examples/${_folder})
  endforeach()
  add_custom_target(stationdiff-windows-texts ALL DEPENDS ${_stationdiff_windows_texts})
else()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_stationdiff_license}")
  file(READ "${_stationdiff_license}" _text)
  if(NOT _text MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
    message(FATAL_ERROR "LICENSE: no copyright line followed by the licence's text")
  endif()
  set(_copyright "${CMAKE_MATCH_1}")
  # Each line of the text indented by one space; an empty line becomes " .".
  string(REPLACE "\n\n" "\n.\n" _body "${CMAKE_MATCH_2}")
  string(REPLACE "\n" "\n " _body " ${_body}")
  file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/doc/copyright" @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: @PROJECT_NAME@

Files: *
Copyright: @_copyright@
License: Expat
@_body@
")
  install(FILES "${PROJECT_BINARY_DIR}/doc/copyright" DESTINATION ${_stationdiff_docdir})

  # The README, compressed like the manual pages (Debian's dh_compress compresses documents
  # over 4 kB), and the examples as they are, under examples/, ready to copy and run.
  configure_file("${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_BINARY_DIR}/doc/README.md" COPYONLY)
  set(_stationdiff_docs "${PROJECT_BINARY_DIR}/doc/README.md")
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/" DESTINATION ${_stationdiff_docdir}/examples
          FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

# ---------------------------------------------------------------------------
# Debian package (cpack -G DEB)
# ---------------------------------------------------------------------------
set(STATIONDIFF_MAINTAINER
    "stationdiff maintainers <maintainers@stationdiff.invalid>"
    CACHE STRING "Maintainer named in the Debian package and its changelog: \"Name <address>\"")

# The release date as seconds since 1970 (midnight UTC), from its days since 1970 (the
# proleptic Gregorian calendar's days-from-civil count, in eras of 400 years).
if(NOT STATIONDIFF_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-0?([0-9]+)-0?([0-9]+)$")
  message(FATAL_ERROR "STATIONDIFF_RELEASE_DATE is \"${STATIONDIFF_RELEASE_DATE}\", not YYYY-MM-DD")
endif()
set(_year ${CMAKE_MATCH_1})
set(_month ${CMAKE_MATCH_2})
set(_day ${CMAKE_MATCH_3})
if(_month LESS_EQUAL 2)
  math(EXPR _year "${_year} - 1")
endif()
math(EXPR _era "${_year} / 400")
math(EXPR _year_of_era "${_year} - ${_era} * 400")
math(EXPR _day_of_year "(153 * ((${_month} + 9) % 12) + 2) / 5 + ${_day} - 1")
math(EXPR _day_of_era
     "${_year_of_era} * 365 + ${_year_of_era} / 4 - ${_year_of_era} / 100 + ${_day_of_year}")
math(EXPR STATIONDIFF_RELEASE_EPOCH "(${_era} * 146097 + ${_day_of_era} - 719468) * 86400")

# Debian expects usr/share/doc/<package>/changelog.gz in every package: docs/changelog.in, in
# Debian's format, whose newest entry is this version, dated STATIONDIFF_RELEASE_DATE.
if(NOT WIN32)
  # string(TIMESTAMP) formats SOURCE_DATE_EPOCH when it is set: set to the release date here.
  set(_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${STATIONDIFF_RELEASE_EPOCH})
  string(TIMESTAMP STATIONDIFF_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${_saved_epoch}")
  if(_saved_epoch STREQUAL "")
    unset(ENV{SOURCE_DATE_EPOCH})
  endif()
  configure_file("${PROJECT_SOURCE_DIR}/docs/changelog.in" "${PROJECT_BINARY_DIR}/doc/changelog"
                 @ONLY)
  list(APPEND _stationdiff_docs "${PROJECT_BINARY_DIR}/doc/changelog")

  set(_stationdiff_doc_outputs)
  foreach(_doc IN LISTS _stationdiff_docs)
    get_filename_component(_name "${_doc}" NAME)
    if(STATIONDIFF_COMPRESS_MANPAGES AND STATIONDIFF_GZIP_EXECUTABLE)
      set(_gz "${PROJECT_BINARY_DIR}/doc/${_name}.gz")
      add_custom_command(
        OUTPUT "${_gz}"
        COMMAND "${STATIONDIFF_GZIP_EXECUTABLE}" -9 -n -k -f "${_doc}"
        DEPENDS "${_doc}"
        COMMENT "Compressing ${_name}"
        VERBATIM)
      list(APPEND _stationdiff_doc_outputs "${_gz}")
      install(FILES "${_gz}" DESTINATION ${_stationdiff_docdir})
    else()
      install(FILES "${_doc}" DESTINATION ${_stationdiff_docdir})
    endif()
  endforeach()
  if(_stationdiff_doc_outputs)
    add_custom_target(stationdiff-docs ALL DEPENDS ${_stationdiff_doc_outputs})
  endif()
endif()

if(WIN32)
  set(CPACK_GENERATOR "ZIP")
else()
  set(CPACK_GENERATOR "DEB")
endif()
set(CPACK_PACKAGE_NAME "stationdiff")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "stationdiff maintainers")
set(CPACK_PACKAGE_CONTACT "${STATIONDIFF_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "reconcile a timetable station register with a list of station names")
# Kept in short lines: each becomes one line of the package description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Two command-line programs compare a register of timetable stations,\n"
  "each with a numeric code and a name, with a later list of station\n"
  "names. They report the register stations that the later list no longer\n"
  "names and the names that are new.\n"
  ".\n"
  "stationdiff reads the register and the update list from two files;\n"
  "stationdiff-onefile reads both from a single file.")
set(CPACK_STRIP_FILES ON)

# Every time stamp in the package is SOURCE_DATE_EPOCH: when cpack runs without it,
# PackageTimestamps.cmake sets it to the date of the source tree's last commit, or without git
# to the release date.
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/PackageTimestamps.cmake")
set(CPACK_STATIONDIFF_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_STATIONDIFF_RELEASE_EPOCH "${STATIONDIFF_RELEASE_EPOCH}")
find_package(Git QUIET)
set(CPACK_STATIONDIFF_GIT "${GIT_EXECUTABLE}")
# Folders are 0755, programs 0755 and other files 0644 in both packages, whatever the umask of
# the person building: PackageModes.cmake sets them in cpack's staging folder before packing,
# and in the Debian package's ar headers after.
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/PackageModes.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/PackageModes.cmake")

set(CPACK_DEBIAN_PACKAGE_NAME "stationdiff")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STATIONDIFF_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# `make package_source` / `cpack --config CPackSourceConfig.cmake`
set(CPACK_SOURCE_GENERATOR "TGZ")
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/_CPack_Packages/")

include(CPack)
