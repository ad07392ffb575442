# Installing the game like any desktop program, under any prefix (GNUInstallDirs, so any
# system will do); debian/ builds the Debian package from these same rules.
#   bin/slot-machine                  launcher: enters the pictures' folder, runs the game
#                                     (SLOT_COMMAND_DIR: Debian puts a game's command in games/)
#   libexec/slot-machine/slot-machine the program itself
#   share/slot-machine/*.bmp          the nineteen pictures, read from the working directory
#   share/applications/slot-machine.desktop, share/icons/hicolor/scalable/apps/slot-machine.svg
#   share/icons/hicolor/NxN/apps/slot-machine.png  the icon at 16 to 256 pixels
#   share/metainfo/<id>.metainfo.xml  what software centres list
#   share/man/man6/slot-machine.6     the manual page
include(GNUInstallDirs)

set(SLOT_COMMAND_DIR ${CMAKE_INSTALL_BINDIR}
    CACHE STRING "Where the command slot-machine goes, relative to the prefix (Debian: games)")
set(SLOT_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/slot-machine)
set(SLOT_PICTURE_DIR ${CMAKE_INSTALL_DATADIR}/slot-machine)
set(SLOT_MANUAL_DIR ${CMAKE_INSTALL_MANDIR}/man6)
set(SLOT_APPS_DIR ${CMAKE_INSTALL_DATADIR}/applications)
set(SLOT_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(SLOT_METAINFO_DIR ${CMAKE_INSTALL_DATADIR}/metainfo)
set(SLOT_APPSTREAM_ID example.c_seed_73f14a36.slot_machine)

# The pictures are the files of the game's table (SLOT_PICTURE_FILES, read by the root).
list(TRANSFORM SLOT_PICTURE_FILES PREPEND ${SLOT_STAGE_DIR}/ OUTPUT_VARIABLE slot_staged_pictures)

# The launcher finds the tree from its own place, so the paths in it are relative to
# the prefix and an installed tree can be moved as a whole.
file(RELATIVE_PATH SLOT_BIN_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${SLOT_COMMAND_DIR} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" SLOT_BIN_TO_PREFIX "${SLOT_BIN_TO_PREFIX}")
if(SLOT_BIN_TO_PREFIX STREQUAL "")
  set(SLOT_BIN_TO_PREFIX .)
endif()
file(RELATIVE_PATH SLOT_PICTURE_SUBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_DATADIR}/slot-machine)
file(RELATIVE_PATH SLOT_PROGRAM_SUBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBEXECDIR}/slot-machine)
configure_file(${PROJECT_SOURCE_DIR}/packaging/slot-machine.in ${CMAKE_BINARY_DIR}/packaging/slot-machine @ONLY)

# The desktop entry runs the command by name where it lies on the PATH (bin/), and by
# its full path elsewhere (games/ is on a Debian user's PATH, not always on a desktop's).
file(READ ${PROJECT_SOURCE_DIR}/packaging/slot-machine.desktop slot_desktop)
if(NOT slot_desktop MATCHES "\nExec=slot-machine\n")
  message(FATAL_ERROR "install: packaging/slot-machine.desktop has no line Exec=slot-machine")
endif()
if(NOT SLOT_COMMAND_DIR STREQUAL CMAKE_INSTALL_BINDIR)
  string(REPLACE "\nExec=slot-machine\n" "\nExec=${CMAKE_INSTALL_PREFIX}/${SLOT_COMMAND_DIR}/slot-machine\n"
                 slot_desktop "${slot_desktop}")
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/packaging/slot-machine.desktop CONTENT "${slot_desktop}" @ONLY)

# The newest entry of the changelog must be this version: a release needs its entry.
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog slot_changelog_top LIMIT_COUNT 1)
if(NOT slot_changelog_top MATCHES "^slot-machine \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "install: debian/changelog starts with '${slot_changelog_top}', not version ${PROJECT_VERSION}")
endif()

install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/slot-machine DESTINATION ${SLOT_COMMAND_DIR})
install(TARGETS slot-machine RUNTIME DESTINATION ${SLOT_PROGRAM_DIR})
install(FILES ${slot_staged_pictures} DESTINATION ${SLOT_PICTURE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/packaging/slot-machine.desktop DESTINATION ${SLOT_APPS_DIR})
install(FILES ${SLOT_ICON_SVG} DESTINATION ${SLOT_ICON_DIR})
# The icon's PNGs, for docks and menus that show no SVG.
foreach(size IN LISTS SLOT_ICON_SIZES)
  install(FILES ${SLOT_ICON_PNG_DIR}/${size}x${size}/apps/slot-machine.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.metainfo.xml DESTINATION ${SLOT_METAINFO_DIR}
        RENAME ${SLOT_APPSTREAM_ID}.metainfo.xml)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.6 DESTINATION ${SLOT_MANUAL_DIR})

# ---------------------------------------------------------------------------------
# Tests: the tree cmake --install makes, and the Debian package built from debian/,
# each validate and start the game
# ---------------------------------------------------------------------------------

if(BUILD_TESTING AND "install" IN_LIST SLOT_TEST_KINDS)
  set(slot_install_test_dirs ${SLOT_PROGRAM_DIR} ${SLOT_PICTURE_DIR} ${SLOT_APPS_DIR} ${SLOT_ICON_DIR}
                             ${SLOT_MANUAL_DIR} ${SLOT_METAINFO_DIR})
  add_test(NAME install_prefix_starts_the_game
           COMMAND ${PROJECT_SOURCE_DIR}/packaging/test_install.sh prefix ${CMAKE_BINARY_DIR} ${SLOT_COMMAND_DIR}
                   ${slot_install_test_dirs})
  set(slot_install_tests install_prefix_starts_the_game)
  # The package is the same whichever build runs the tests: it is made once, from the
  # release build's tests.
  if(NOT SLOT_SANITIZE)
    add_test(NAME install_deb_starts_the_game
             COMMAND ${PROJECT_SOURCE_DIR}/packaging/test_install.sh deb ${CMAKE_BINARY_DIR} games
                     ${slot_install_test_dirs})
    list(APPEND slot_install_tests install_deb_starts_the_game)
  endif()
  set_tests_properties(${slot_install_tests} PROPERTIES LABELS "install;e2e" RESOURCE_LOCK xdisplay TIMEOUT 900
                                                        SKIP_RETURN_CODE 77)
endif()
