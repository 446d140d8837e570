# The Windows build's third-party libraries, built from Debian's sources for the target:
# libjpeg (scripts/win32-libjpeg.sh, once per build folder) and GoogleTest (from
# /usr/src/googletest, as part of the build). Included by the top CMakeLists on WIN32.

# libjpeg: the static library in <build>/deps/libjpeg. A prefix given with
# -DJPEG_INCLUDE_DIR=... -DJPEG_LIBRARY=... is used instead.
if(NOT JPEG_LIBRARY)
  set(QG_WIN32_JPEG_PREFIX ${CMAKE_BINARY_DIR}/deps/libjpeg)
  if(NOT EXISTS ${QG_WIN32_JPEG_PREFIX}/lib/libjpeg.a)
    message(STATUS "Building libjpeg for Windows from Debian's libjpeg-turbo source")
    execute_process(
      COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/win32-libjpeg.sh
              ${QG_WIN32_JPEG_PREFIX} ${CMAKE_TOOLCHAIN_FILE}
      RESULT_VARIABLE qg_jpeg_result)
    if(NOT qg_jpeg_result EQUAL 0)
      message(FATAL_ERROR "Could not build libjpeg for Windows (scripts/win32-libjpeg.sh)")
    endif()
  endif()
  set(JPEG_INCLUDE_DIR ${QG_WIN32_JPEG_PREFIX}/include CACHE PATH "libjpeg headers for Windows")
  set(JPEG_LIBRARY ${QG_WIN32_JPEG_PREFIX}/lib/libjpeg.a CACHE FILEPATH "libjpeg for Windows")
endif()
