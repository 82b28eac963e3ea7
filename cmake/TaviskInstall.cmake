# `cmake --install` lays the program out as a game of the system: the program folder (the
# programs with their pictures, pages, book and default settings) goes to lib/games/tavisk,
# the commands to games as links into it, the desktop entry, icon, AppStream data and
# manual pages to share. The program keeps reading its files beside itself; a marker file
# tells it that the folder is shared, so what it writes goes to the user's own folders.
include(GNUInstallDirs)

set(TAVISK_INSTALL_COMMANDS games CACHE STRING "Where the commands go, below the prefix")
set(TAVISK_INSTALL_FOLDER lib/games/tavisk CACHE STRING "Where the program folder goes, below the prefix")
set(TAVISK_INSTALL_DOCS ${CMAKE_INSTALL_DATADIR}/doc/tavisk)

foreach(program tavisk tavisk-engine)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${TAVISK_INSTALL_FOLDER})
    install(CODE "
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TAVISK_INSTALL_COMMANDS}/${program}\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TAVISK_INSTALL_COMMANDS}\")
      file(RELATIVE_PATH target \"\${CMAKE_INSTALL_PREFIX}/${TAVISK_INSTALL_COMMANDS}\"
           \"\${CMAKE_INSTALL_PREFIX}/${TAVISK_INSTALL_FOLDER}/${program}\")
      file(REMOVE \"\${link}\")
      file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)
      message(STATUS \"Installing: \${link} -> \${target}\")")
  endif()
endforeach()

# The data the build lays out in the program folder.
foreach(folder Skin1 Skin2 Skin3 Splash VGA Narrow Low tutorial Sounds)
  install(DIRECTORY ${TAVISK_BIN_DIR}/${folder} DESTINATION ${TAVISK_INSTALL_FOLDER} OPTIONAL)
endforeach()
foreach(file opening.pgn Toolbar.bmp tavisk.svg)
  install(FILES ${TAVISK_BIN_DIR}/${file} DESTINATION ${TAVISK_INSTALL_FOLDER} OPTIONAL)
endforeach()
# The default settings are written afresh: the copy in the build's program folder is the
# developer's own once the game has been played from there.
if(TARGET make-options-cfg)
  set(default_settings ${CMAKE_BINARY_DIR}/install/options.cfg)
  add_custom_command(OUTPUT ${default_settings}
    COMMAND make-options-cfg ${default_settings}
    DEPENDS make-options-cfg
    COMMENT "Writing the default options.cfg for the installation")
  add_custom_target(install-options-cfg ALL DEPENDS ${default_settings})
  install(FILES ${default_settings} DESTINATION ${TAVISK_INSTALL_FOLDER})
endif()
set(marker ${CMAKE_BINARY_DIR}/install/installed)
file(WRITE ${marker}
     "This program folder is shared by every user of the system. Each user's settings\n"
     "(options.cfg) live in $XDG_CONFIG_HOME/tavisk, the game in progress and the engine's\n"
     "game records in $XDG_STATE_HOME/tavisk.\n")
install(FILES ${marker} DESTINATION ${TAVISK_INSTALL_FOLDER})

# Manual pages, compressed as the system keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages)
foreach(page tavisk.6 tavisk-engine.6)
  set(text ${CMAKE_BINARY_DIR}/man/${page})
  set(packed ${text}.gz)
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page} ${text} @ONLY)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${GZIP_PROGRAM} -9n -c ${text} > ${packed}
    DEPENDS ${text}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND man_pages ${packed})
endforeach()
# The package's history, kept as the system keeps it.
set(changelog ${CMAKE_BINARY_DIR}/man/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${GZIP_PROGRAM} -9n -c ${CMAKE_SOURCE_DIR}/docs/changelog > ${changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/changelog)
add_custom_target(man-pages ALL DEPENDS ${man_pages} ${changelog})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The documentation and the licences: the project's own, and the fonts' whose lettering
# is in the pictures.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${TAVISK_INSTALL_DOCS})
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${TAVISK_INSTALL_DOCS} RENAME copyright)
install(FILES ${CMAKE_SOURCE_DIR}/tools/art/FONTS.md ${changelog} DESTINATION ${TAVISK_INSTALL_DOCS})

if(TARGET tavisk)
  install(FILES ${CMAKE_SOURCE_DIR}/apps/tavisk/tavisk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/apps/tavisk/tavisk.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS TAVISK_ICON_SIZES)
    install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/tavisk.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  # Software centres fetch the screenshots from the project's site.
  set(TAVISK_WEB_BASE https://tavisk.example CACHE STRING "The project's web site, with docs/screenshots under /screenshots")
  set(TAVISK_RELEASE_DATE 2026-12-09)
  set(metainfo ${CMAKE_BINARY_DIR}/install/org.tavisk.Tavisk.metainfo.xml)
  configure_file(${CMAKE_SOURCE_DIR}/apps/tavisk/org.tavisk.Tavisk.metainfo.xml.in ${metainfo} @ONLY)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
