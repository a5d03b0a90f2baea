# What `cmake --install` puts where: the three programs, the desktop entry, the file types, the
# icon, the udev rule for the tester and the documentation.
include(GNUInstallDirs)

install(TARGETS grx1 grx1-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET grx1-tester-sim)  # it serves POSIX FIFOs: not on Windows
  install(TARGETS grx1-tester-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# Windows has its own folder and setup program (tools/windows.sh); the rest is for Linux desktops.
if(WIN32)
  return()
endif()

set(GRX1_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${GRX1_PACKAGING}/grx1.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GRX1_PACKAGING}/grx1-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME grx1.xml)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
  install(FILES ${GRX1_PACKAGING}/icons/grx1-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME grx1.png)
endforeach()
install(FILES ${GRX1_PACKAGING}/icons/grx1.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# udev reads lib/udev/rules.d below /usr (a package) but not below /usr/local.
set(GRX1_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "Folder of the tester's udev rule, relative to the prefix")
install(FILES ${GRX1_PACKAGING}/70-grx1-tester.rules DESTINATION ${GRX1_UDEV_RULES_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/COPYING ${GRX1_PACKAGING}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
