# "cpack -G DEB" in the build tree (or scripts/package) makes the Debian package: the program
# folder /usr/lib/quorvex, the launchers in /usr/bin, the autostart entry in /etc/xdg/autostart.
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR "The Quorvex developers")
set(CPACK_PACKAGE_CONTACT "${QUORVEX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scheduled backup, repair and compaction of Access databases")
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvex keeps Microsoft Access database files in shape on a schedule.
It sits in the notification area and runs Database Jobs: it repairs and
compacts databases through Access, backs them up with numbered-copy
rotation as plain copies or zip archives, and opens them in Access so
that their own start-up code runs.
.
A systemd user timer runs the due jobs through quorvexctl on machines
without a desktop. Each user's jobs, preferences and logs live in
~/.local/share/quorvex.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The install rules name the launchers by their final paths, so the files are staged with
# DESTDIR under the real prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries' packages, found by dpkg-shlibdeps, and the programs that are called:
# Info-ZIP's zip behind the zip stand-in, xdg-open for the logs and the help page.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "zip, xdg-utils")
# The autostart entry in /etc is the administrator's to change.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/package/conffiles)
# The build tree's tests and benchmarks are not part of the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
