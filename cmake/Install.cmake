# What `cmake --install` puts into a prefix, and the Debian package made of it (cpack):
#   include/quillgraph/          graphics.h and what it includes (the Win32 subset off Windows)
#   lib/                         libquillgraph.so and .a (Windows: libquillgraph.a, and
#                                quillgraph/libjpeg.a, which Windows does not have)
#   lib/cmake/Quillgraph/        find_package(Quillgraph) -> Quillgraph::quillgraph
#   lib/pkgconfig/quillgraph.pc  pkg-config --cflags --libs quillgraph (not on Windows)
#   games/zarn, share/games/zarn/, lib/games/zarn/   Quen's Zarn and its pictures
#   share/quillgraph/starter/    the starter project
# Included by the top CMakeLists when QG_INSTALL is on.
include(CMakePackageConfigHelpers)

set(QG_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillgraph)

# ---- headers: graphics.h includes win32api.h and colors.def beside it, and off Windows
# the Win32 subset as "standin/win32.h" beside those. Nothing else of the stand-in: its
# test hooks and internals are not part of what a program may include.
install(FILES ${PROJECT_SOURCE_DIR}/graphics/graphics.h ${PROJECT_SOURCE_DIR}/graphics/win32api.h
              ${PROJECT_SOURCE_DIR}/graphics/colors.def
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quillgraph)
if(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/standin/include/standin/win32.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quillgraph/standin)
endif()

# ---- libraries and their CMake exports
if(WIN32)
  set(QG_HAS_SHARED OFF)
  install(TARGETS quillgraph EXPORT QuillgraphStatic ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${JPEG_LIBRARY} DESTINATION ${CMAKE_INSTALL_LIBDIR}/quillgraph RENAME libjpeg.a)
else()
  set(QG_HAS_SHARED ON)
  install(TARGETS quillgraph_shared EXPORT QuillgraphShared
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Unspecified)
  # The static library names the system libraries it needs through this target.
  set_target_properties(standin_deps PROPERTIES EXPORT_NAME quillgraph_deps)
  install(TARGETS quillgraph_static standin_deps EXPORT QuillgraphStatic
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(EXPORT QuillgraphShared NAMESPACE Quillgraph:: FILE QuillgraphSharedTargets.cmake
          DESTINATION ${QG_CMAKE_DIR})
endif()
install(EXPORT QuillgraphStatic NAMESPACE Quillgraph:: FILE QuillgraphStaticTargets.cmake
        DESTINATION ${QG_CMAKE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuillgraphConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QuillgraphConfig.cmake INSTALL_DESTINATION ${QG_CMAKE_DIR})
# 0.x: a new minor version may change the interface.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuillgraphConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuillgraphConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/QuillgraphConfigVersion.cmake
        DESTINATION ${QG_CMAKE_DIR})

# ---- pkg-config: relative to the file itself, so any --prefix given at install works.
if(NOT WIN32)
  set(QG_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  file(RELATIVE_PATH QG_PC_TO_PREFIX /${QG_PC_DIR} /)
  string(REGEX REPLACE "/$" "" QG_PC_TO_PREFIX "${QG_PC_TO_PREFIX}")
  set(QG_PC_LIBS_PRIVATE "-lSDL2 -lX11 -lfreetype -lfontconfig -ljpeg -lpng16 -lcairo -lcups -lpthread")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/quillgraph.pc.in ${CMAKE_CURRENT_BINARY_DIR}/quillgraph.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quillgraph.pc DESTINATION ${QG_PC_DIR})
endif()

# ---- the starter project, for users of the package to copy
install(DIRECTORY ${PROJECT_SOURCE_DIR}/templates/starter DESTINATION ${CMAKE_INSTALL_DATADIR}/quillgraph)

# ---- the game: the executable reads its pictures from the working folder, so the command
# users start changes to the pictures' folder first.
if(QG_BUILD_GAME AND NOT WIN32)
  install(TARGETS zarn RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/games/zarn)
  install(FILES ${ZARN_PICTURES} DESTINATION ${CMAKE_INSTALL_DATADIR}/games/zarn)
  file(RELATIVE_PATH qg_games_to_prefix /games /)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/zarn-launcher.sh.in ${CMAKE_CURRENT_BINARY_DIR}/zarn-launcher.sh @ONLY)
  install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/zarn-launcher.sh DESTINATION games RENAME zarn)
endif()

# ---- the Debian package: `cpack -G DEB` in the build folder gives quillgraph_<version>_<arch>.deb.
if(NOT WIN32)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME quillgraph)
  set(CPACK_PACKAGE_VENDOR "Quillgraph")
  set(CPACK_PACKAGE_CONTACT "Quillgraph developers <quillgraph@localhost>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small C++ graphics library for one window, with the game Quen's Zarn")
  set(CPACK_PACKAGE_DESCRIPTION
      "Quillgraph draws shapes, text and JPEG pictures in one fixed-size window and reads\n clicks and keys; programs build with find_package(Quillgraph) or pkg-config.\n Includes the headers, shared and static libraries, and the naval game Quen's Zarn.")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
  # The shared libraries' packages come from the binaries (dpkg-shlibdeps); the fonts the
  # text is drawn with are no library, so they are named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "g++, cmake | pkg-config")
  # Linking the static library needs the development packages of the same libraries.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS
      "libsdl2-dev, libfreetype-dev, libfontconfig-dev, libjpeg-dev, libpng-dev, libcairo2-dev, libcups2-dev, libx11-dev")
  set(CPACK_STRIP_FILES ON)
  include(CPack)
endif()
