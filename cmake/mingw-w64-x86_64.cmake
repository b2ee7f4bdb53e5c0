# Cross-builds for Windows x86-64 with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Programs built here run under Wine (wine64) as the cross-compiling emulator, with a Wine
# prefix of their own in the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# Where this file is, for builds that the project starts itself (the install check's consumer).
set(NLS_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_FILE})

set(NLS_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix threading flavour: the standard library's threads and mutexes are complete in it.
set(CMAKE_C_COMPILER ${NLS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NLS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NLS_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NLS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(NLS_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NLS_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /usr/bin/env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all ${NLS_WINE64})
endif()
