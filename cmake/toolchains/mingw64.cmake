# 64-bit Windows from Debian with mingw-w64 (posix threads, for std::thread and std::mutex).
# The libraries built for Windows (scripts/windows/deps) live under STONEWELL_WINDOWS_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} $ENV{STONEWELL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run under wine where a test needs to run one.
find_program(STONEWELL_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(STONEWELL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${STONEWELL_WINE})
endif()
# C99 printf (%zu and the like), as on Debian, instead of the system's own.
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
