# `cmake --install` lays out a working program with the GNU directories: the program
# folder (the programs with their pictures, pages, book and default settings) goes to
# libexec/tavisk, the commands to bin as links into it, the desktop entry and the icon
# to share. The program keeps reading its files beside itself; what it writes goes to
# the user's own folders when the program folder cannot be written.
include(GNUInstallDirs)

set(TAVISK_INSTALL_FOLDER ${CMAKE_INSTALL_LIBEXECDIR}/tavisk)

foreach(program tavisk tavisk-engine)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${TAVISK_INSTALL_FOLDER})
    install(CODE "
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
      file(RELATIVE_PATH target \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
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
foreach(file options.cfg opening.pgn Toolbar.bmp tavisk.svg)
  install(FILES ${TAVISK_BIN_DIR}/${file} DESTINATION ${TAVISK_INSTALL_FOLDER} OPTIONAL)
endforeach()

if(TARGET tavisk)
  install(FILES ${CMAKE_SOURCE_DIR}/apps/tavisk/tavisk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/apps/tavisk/tavisk.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
