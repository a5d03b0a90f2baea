# The Debian package (bash tools/package.sh): CPack's DEB generator over the install rules, with
# the shared-library dependencies computed from the binaries.
set(GRX1_MAINTAINER "GRX-1 developers" CACHE STRING "Maintainer named in the package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME grx1)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${GRX1_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Companion program of the GRX-1 dynamic soil-compaction tester")
set(CPACK_PACKAGE_DESCRIPTION "Reads every stored impact from the GRX-1 tester over USB, shows the series and \
impacts in tables and their acceleration, velocity, displacement and force on a chart, saves and opens \
project files, exports CSV, WAV and clipboard data, prints a report of the measured moduli, edits the \
tester's material and object name lists and grabs a picture of its display. Russian and English.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no binary names them: the tester's libusb, Qt's desktop platform and its
# Russian texts, the metric twin of Times New Roman, and the SQLite driver of the measurement archive
# (its default, a file beside the program's settings).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libusb-0.1-4, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2, libqt6sql6-sqlite")
# F1 and the help command open the manual through xdg-open; without it the program names the
# manual's file instead. A lab's shared archive on a PostgreSQL server needs Qt's PostgreSQL driver;
# without it such an archive says which package is missing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${PROJECT_SOURCE_DIR}/packaging/debian/postinst;${PROJECT_SOURCE_DIR}/packaging/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
