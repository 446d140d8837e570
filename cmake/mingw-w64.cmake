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

# Lets CMake run cross-built test programs at build time through Wine if asked.
find_program(QG_WINE wine)
if(QG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QG_WINE})
endif()
