# Hardening flags for Release builds, as Debian's own packages are built.
#
# Include this file from the top-level CMakeLists.txt after project() and before the targets
# are created. It adds compile and link options for the Release configuration only:
#   - where dpkg-buildflags exists, the hardening part of what it gives with every hardening
#     feature on (hardening=+all, which adds bind-now): _FORTIFY_SOURCE, the stack protector,
#     format checks, RELRO and bind-now. Its -O2 and -g are left out, so the Release build keeps
#     CMake's optimisation level and carries no debug information;
#   - elsewhere, with a GNU-style compiler producing ELF, the same flags where the compiler
#     and linker accept them;
#   - nothing for Windows (MinGW-w64) or other cross builds: dpkg-buildflags describes this
#     machine's own programs.
# STATIONDIFF_HARDENING=OFF turns it off.

include_guard(GLOBAL)
option(STATIONDIFF_HARDENING "Release builds use the distribution's hardening flags" ON)

set(_stationdiff_hardening_compile)
set(_stationdiff_hardening_link)
if(STATIONDIFF_HARDENING AND NOT CMAKE_CROSSCOMPILING AND NOT WIN32
   AND CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
  find_program(STATIONDIFF_DPKG_BUILDFLAGS dpkg-buildflags)
  mark_as_advanced(STATIONDIFF_DPKG_BUILDFLAGS)
  if(STATIONDIFF_DPKG_BUILDFLAGS)
    # The caller's own DEB_BUILD_MAINT_OPTIONS come after hardening=+all, so they still win.
    foreach(_kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env
                "DEB_BUILD_MAINT_OPTIONS=hardening=+all $ENV{DEB_BUILD_MAINT_OPTIONS}"
                "${STATIONDIFF_DPKG_BUILDFLAGS}" --get ${_kind}
        OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE _status ERROR_QUIET)
      if(NOT _status EQUAL 0)
        continue()
      endif()
      separate_arguments(_flags UNIX_COMMAND "${_flags}")
      foreach(_flag IN LISTS _flags)
        if(_kind STREQUAL "LDFLAGS")
          if(_flag MATCHES "^-Wl,-z,|^-pie$|^-fPIE$")
            list(APPEND _stationdiff_hardening_link "${_flag}")
          endif()
        elseif(_flag MATCHES "^-[DU]_FORTIFY_SOURCE|^-fstack-protector|^-fstack-clash-protection$|^-fcf-protection|^-mbranch-protection=|^-Wformat|^-Werror=format-security$|^-fPIE$")
          list(APPEND _stationdiff_hardening_compile "${_flag}")
        endif()
      endforeach()
    endforeach()
  elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    # Checked at every configure: a result cached by an earlier run, perhaps one that failed
    # with another compiler or linker, never decides the flags.
    unset(STATIONDIFF_HAS_STACK_PROTECTOR_STRONG CACHE)
    unset(STATIONDIFF_FORTIFY_NOT_PREDEFINED CACHE)
    unset(STATIONDIFF_HAS_RELRO_NOW CACHE)
    include(CheckCXXCompilerFlag)
    include(CheckCXXSourceCompiles)
    include(CheckLinkerFlag)
    check_cxx_compiler_flag(-fstack-protector-strong STATIONDIFF_HAS_STACK_PROTECTOR_STRONG)
    if(STATIONDIFF_HAS_STACK_PROTECTOR_STRONG)
      list(APPEND _stationdiff_hardening_compile -fstack-protector-strong)
    endif()
    # Some compilers define _FORTIFY_SOURCE themselves when optimising; defining it again
    # would be a redefinition warning.
    set(CMAKE_REQUIRED_FLAGS -O2)
    check_cxx_source_compiles("#ifdef _FORTIFY_SOURCE\n#error predefined\n#endif\nint main() {}"
                              STATIONDIFF_FORTIFY_NOT_PREDEFINED)
    unset(CMAKE_REQUIRED_FLAGS)
    if(STATIONDIFF_FORTIFY_NOT_PREDEFINED)
      list(APPEND _stationdiff_hardening_compile -D_FORTIFY_SOURCE=2)
    endif()
    check_linker_flag(CXX "LINKER:-z,relro,-z,now" STATIONDIFF_HAS_RELRO_NOW)
    if(STATIONDIFF_HAS_RELRO_NOW)
      list(APPEND _stationdiff_hardening_link -Wl,-z,relro -Wl,-z,now)
    endif()
  endif()
endif()

if(_stationdiff_hardening_compile)
  add_compile_options("$<$<CONFIG:Release>:${_stationdiff_hardening_compile}>")
endif()
if(_stationdiff_hardening_link)
  add_link_options("$<$<CONFIG:Release>:${_stationdiff_hardening_link}>")
endif()
list(JOIN _stationdiff_hardening_compile " " _compile)
list(JOIN _stationdiff_hardening_link " " _link)
message(STATUS "Release hardening: compile [${_compile}], link [${_link}]")
