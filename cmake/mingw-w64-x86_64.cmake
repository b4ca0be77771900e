# Cross-compiles for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64); the
# "windows" preset uses it. Tests of the Windows programs run them under Wine when it is
# installed (Debian: wine).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STATIONDIFF_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STATIONDIFF_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${STATIONDIFF_MINGW_TRIPLE}-g++)

# Headers, libraries and packages come from the MinGW-w64 tree only; programs run during the
# build (groff, gzip) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${STATIONDIFF_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT CMAKE_HOST_WIN32 AND NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(STATIONDIFF_WINE wine)
  if(STATIONDIFF_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${STATIONDIFF_WINE})
  endif()
endif()
