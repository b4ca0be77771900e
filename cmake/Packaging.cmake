# Installation rules, manual pages, the Debian package and the Windows ZIP.
#
# Include this file at the end of the top-level CMakeLists.txt, after the
# targets `stationdiff` and `stationdiff-onefile` exist:
#
#   include(cmake/Packaging.cmake)
#
# Then:
#   cmake --install <build> --prefix <dir>   installs the programs and pages
#   cpack -G DEB  (in <build>)               builds stationdiff_<ver>_<arch>.deb
#   cpack -G ZIP  (in a Windows build)       builds stationdiff-<ver>-win64.zip
#
# The package version comes only from project(VERSION ...).

include_guard(GLOBAL)
include(GNUInstallDirs)

# Directories created by the install step (and so inside the package) get
# the usual permissions whatever the umask of the person building.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

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

# ---------------------------------------------------------------------------
# Manual pages
# ---------------------------------------------------------------------------
# Debian installs manual pages compressed with `gzip -9n` (no name, no time
# stamp, so the result is reproducible). Without gzip, or with the option
# off, the pages are installed uncompressed; man reads both. On Windows the
# pages are rendered with groff into plain text files, <page>.txt.
if(WIN32)
  find_program(STATIONDIFF_GROFF_EXECUTABLE groff)
  if(NOT STATIONDIFF_GROFF_EXECUTABLE)
    message(WARNING "groff not found (Debian: groff-base): the manual pages are left out")
  endif()
else()
  find_program(STATIONDIFF_GZIP_EXECUTABLE gzip)
  option(STATIONDIFF_COMPRESS_MANPAGES
         "Install the manual pages compressed with gzip -9n" ON)
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
# Licence
# ---------------------------------------------------------------------------
# LICENSE holds the MIT licence. The Windows folder gets it as it is, with the
# README. A Debian system gets it as usr/share/doc/stationdiff/copyright in
# Debian's machine-readable format, written here from LICENSE: its copyright
# line, then the licence's text under the name Debian gives it, Expat.
set(_stationdiff_license "${PROJECT_SOURCE_DIR}/LICENSE")
if(WIN32)
  install(FILES "${_stationdiff_license}" "${PROJECT_SOURCE_DIR}/README.md" DESTINATION .)
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
  install(FILES "${PROJECT_BINARY_DIR}/doc/copyright"
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
endif()

# ---------------------------------------------------------------------------
# Debian package (cpack -G DEB)
# ---------------------------------------------------------------------------
set(STATIONDIFF_MAINTAINER
    "stationdiff maintainers <maintainers@stationdiff.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

# Debian expects usr/share/doc/<package>/changelog.gz in every package. A
# one-entry changelog for this version is written here; its date honours
# SOURCE_DATE_EPOCH so that reproducible builds stay reproducible.
if(NOT WIN32 AND STATIONDIFF_COMPRESS_MANPAGES AND STATIONDIFF_GZIP_EXECUTABLE)
  string(TIMESTAMP _stationdiff_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(_stationdiff_changelog "${PROJECT_BINARY_DIR}/doc/changelog")
  file(CONFIGURE OUTPUT "${_stationdiff_changelog}" @ONLY CONTENT
"stationdiff (@PROJECT_VERSION@) unstable; urgency=medium

  * Release @PROJECT_VERSION@.

 -- @STATIONDIFF_MAINTAINER@  @_stationdiff_date@
")
  add_custom_command(
    OUTPUT "${_stationdiff_changelog}.gz"
    COMMAND "${STATIONDIFF_GZIP_EXECUTABLE}" -9 -n -k -f "${_stationdiff_changelog}"
    DEPENDS "${_stationdiff_changelog}"
    COMMENT "Compressing the package changelog"
    VERBATIM)
  add_custom_target(stationdiff-changelog ALL DEPENDS "${_stationdiff_changelog}.gz")
  install(FILES "${_stationdiff_changelog}.gz"
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
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
