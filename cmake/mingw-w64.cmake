# The part of the mingw-w64 toolchains both word sizes share; each toolchain file sets
# CMAKE_SYSTEM_PROCESSOR and QG_MINGW_PREFIX, then includes this.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QG_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QG_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QG_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QG_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under Wine or on a bare Windows machine: link the compiler's runtime
# (and the posix threads library it pulls in) statically, so no extra DLL has to be found.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Lets CMake run cross-built test programs through Wine (test discovery, ctest). 64-bit
# programs go to the 64-bit loader directly: Debian's wine script picks the 32-bit one
# whenever wine32 is installed, even where the kernel cannot run it.
if(QG_MINGW_PREFIX MATCHES "^x86_64" AND EXISTS /usr/lib/wine/wine64)
  get_filename_component(QG_WINE ${CMAKE_CURRENT_LIST_DIR}/../tools/wine64-loader/wine ABSOLUTE)
else()
  find_program(QG_WINE wine)
endif()
if(QG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QG_WINE})
endif()
