# A Debian package of what `cmake --install` lays out: `cpack -G DEB` in the build folder
# (scripts/package.sh builds, checks and optionally installs it).
set(CPACK_PACKAGE_NAME tavisk)
set(CPACK_PACKAGE_VENDOR "Tavisk developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess game against the computer")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tavisk developers <developers@tavisk.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Below the summary line: the long description, its paragraphs parted by a lone ".".
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tavisk is a chess game in which one person plays against the computer:\n"
  "levels by depth, time per move or time per game, three flat board styles\n"
  "and an isometric board, hints, take-backs, a tutor that warns about weak\n"
  "moves, saved games in PGN and seven interface languages. The window shows\n"
  "a handheld screen on the desktop.\n"
  ".\n"
  "The engine is also a program of its own, tavisk-engine, which speaks the\n"
  "xboard and UCI command languages for other chess interfaces.")
# The Qt and C++ libraries (with the X11 window plugin) come from the programs themselves;
# the rest are loaded at run time: the SVG icon engine, and the fonts of the Chinese and
# Russian texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, fonts-dejavu-core, fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xboard, polyglot")

include(CPack)

# The package is built and checked in the plain build of the whole program (the sanitizer
# builds would only check the same files again).
if(TAVISK_TESTS AND TAVISK_GUI AND NOT TAVISK_SANITIZE)
  add_test(NAME package COMMAND ${CMAKE_SOURCE_DIR}/scripts/package.sh --no-build ${CMAKE_BINARY_DIR})
  set_tests_properties(package PROPERTIES LABELS package TIMEOUT 600)
endif()
