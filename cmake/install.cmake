# Installing the game like any desktop program, and packaging it as a .deb with CPack.
# Layout under the prefix (GNUInstallDirs, so any prefix and any system will do):
#   bin/slot-machine                 launcher: enters the pictures' folder, runs the game
#   libexec/slot-machine/slot-machine the program itself
#   share/slot-machine/*.bmp         the nineteen pictures, read from the working directory
#   share/applications/slot-machine.desktop, share/icons/hicolor/scalable/apps/slot-machine.svg
#   share/icons/hicolor/NxN/apps/slot-machine.png  the icon at 16 to 256 pixels
#   share/metainfo/<id>.metainfo.xml what software centres list
#   share/man/man6/slot-machine.6    the manual page
# The .deb (prefix /usr) differs where Debian asks: the launcher in games/ and the
# desktop entry running it there, the manual page gzipped, and doc/slot-machine/ with
# the copyright file and the changelog. Those rules are the component "deb", which a
# plain cmake --install leaves out.
include(GNUInstallDirs)

set(SLOT_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/slot-machine)
set(SLOT_PICTURE_DIR ${CMAKE_INSTALL_DATADIR}/slot-machine)
set(SLOT_MANUAL_DIR ${CMAKE_INSTALL_MANDIR}/man6)
set(SLOT_GAMES_DIR games)  # where Debian puts the command of a game
set(SLOT_APPSTREAM_ID example.c_seed_73f14a36.slot_machine)
set(SLOT_MAINTAINER "Seed 73f14a36 maintainers <maintainers@users.noreply.c-seed-73f14a36.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# The picture names come from the tool that draws them; without it, from the game's own
# table of texture slots.
if(DEFINED SLOT_PICTURE_FILES)
  set(slot_install_pictures ${SLOT_PICTURE_FILES})
else()
  file(STRINGS ${PROJECT_SOURCE_DIR}/assets/textures.cpp slot_texture_lines REGEX "\\.bmp\"")
  string(REGEX MATCHALL "[A-Za-z0-9_]+\\.bmp" slot_install_pictures "${slot_texture_lines}")
endif()
list(LENGTH slot_install_pictures slot_picture_count)
if(NOT slot_picture_count EQUAL 19)
  message(FATAL_ERROR "install: expected the nineteen picture names, found ${slot_picture_count}")
endif()
list(TRANSFORM slot_install_pictures PREPEND ${SLOT_STAGE_DIR}/ OUTPUT_VARIABLE slot_staged_pictures)

# The launcher for a command folder (a full path): it finds the tree from its own
# place, so the paths in it are relative to the prefix.
function(slot_configure_launcher command_dir output)
  file(RELATIVE_PATH SLOT_BIN_TO_PREFIX ${command_dir} ${CMAKE_INSTALL_PREFIX})
  string(REGEX REPLACE "/$" "" SLOT_BIN_TO_PREFIX "${SLOT_BIN_TO_PREFIX}")
  if(SLOT_BIN_TO_PREFIX STREQUAL "")
    set(SLOT_BIN_TO_PREFIX .)
  endif()
  file(RELATIVE_PATH SLOT_PICTURE_SUBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_DATADIR}/slot-machine)
  file(RELATIVE_PATH SLOT_PROGRAM_SUBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBEXECDIR}/slot-machine)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/slot-machine.in ${output} @ONLY)
endfunction()
slot_configure_launcher(${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_BINARY_DIR}/packaging/slot-machine)
slot_configure_launcher(${CMAKE_INSTALL_PREFIX}/${SLOT_GAMES_DIR} ${CMAKE_BINARY_DIR}/packaging/deb/slot-machine)

# The package's desktop entry runs the command where the package puts it.
file(READ ${PROJECT_SOURCE_DIR}/packaging/slot-machine.desktop slot_desktop)
string(REPLACE "\nExec=slot-machine\n" "\nExec=${CPACK_PACKAGING_INSTALL_PREFIX}/${SLOT_GAMES_DIR}/slot-machine\n"
               slot_deb_desktop "${slot_desktop}")
if(slot_deb_desktop STREQUAL slot_desktop)
  message(FATAL_ERROR "install: packaging/slot-machine.desktop has no line Exec=slot-machine")
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/packaging/deb/slot-machine.desktop CONTENT "${slot_deb_desktop}" @ONLY)

# The changelog's latest entry must be this version: a release needs its entry.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog slot_changelog_top LIMIT_COUNT 1)
if(NOT slot_changelog_top MATCHES "^slot-machine \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "install: packaging/changelog starts with '${slot_changelog_top}', not version ${PROJECT_VERSION}")
endif()

# Debian wants the manual page and the changelog compressed, the same bytes every time.
find_program(SLOT_GZIP gzip)
set(slot_deb_gzipped)
if(SLOT_GZIP)
  foreach(pair "slot-machine.6;slot-machine.6.gz" "changelog;changelog.gz")
    list(GET pair 0 source)
    list(GET pair 1 gzipped)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/deb/${gzipped}
                       COMMAND ${SLOT_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/${source}
                               > ${CMAKE_BINARY_DIR}/packaging/deb/${gzipped}
                       DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source} VERBATIM)
    list(APPEND slot_deb_gzipped ${CMAKE_BINARY_DIR}/packaging/deb/${gzipped})
  endforeach()
  add_custom_target(deb_files ALL DEPENDS ${slot_deb_gzipped})
endif()

# Everywhere.
install(TARGETS slot-machine RUNTIME DESTINATION ${SLOT_PROGRAM_DIR})
install(FILES ${slot_staged_pictures} DESTINATION ${SLOT_PICTURE_DIR})
install(FILES ${SLOT_ICON_SVG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The icon's PNGs, for docks and menus that show no SVG.
foreach(size IN LISTS SLOT_ICON_SIZES)
  install(FILES ${SLOT_ICON_PNG_DIR}/${size}x${size}/apps/slot-machine.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${SLOT_APPSTREAM_ID}.metainfo.xml)

# Under any prefix.
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/slot-machine DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT prefix)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT prefix)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.6 DESTINATION ${SLOT_MANUAL_DIR} COMPONENT prefix)

# In the .deb only.
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/deb/slot-machine DESTINATION ${SLOT_GAMES_DIR}
        COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/packaging/deb/slot-machine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT deb EXCLUDE_FROM_ALL)
if(SLOT_GZIP)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/deb/slot-machine.6.gz DESTINATION ${SLOT_MANUAL_DIR}
          COMPONENT deb EXCLUDE_FROM_ALL)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/deb/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/slot-machine COMPONENT deb EXCLUDE_FROM_ALL)
endif()

# ---------------------------------------------------------------------------------
# Package: cpack -G DEB in the build folder
# ---------------------------------------------------------------------------------

set(CPACK_PACKAGE_NAME slot-machine)
set(CPACK_PACKAGE_VENDOR "Slot Machine developers")
set(CPACK_PACKAGE_CONTACT "${SLOT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "three-reel slot machine game in 3D")
set(CPACK_PACKAGE_DESCRIPTION
    "Bet one or five tokens, pull the lever and watch three textured reels land\n\
on their stops. A pair pays tickets, three of a kind pays tickets and tokens.\n\
The prize counter greets five tickets with a bouncing olive ball, and the token\n\
counter sells more tokens. The tokens are the game's own: no real money is\n\
involved. Drawn with fixed-function OpenGL, GLU and freeglut.")
set(CPACK_STRIP_FILES ON)
# One package of the rules for everywhere and those for the .deb only.
if(NOT CMAKE_INSTALL_DEFAULT_COMPONENT_NAME)
  set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME Unspecified)
endif()
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL ${CMAKE_INSTALL_DEFAULT_COMPONENT_NAME} deb)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
find_program(SLOT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SLOT_DPKG_SHLIBDEPS)
  # The libraries the program links, with the versions this system builds against, and
  # OpenAL Soft, which the program loads while it runs and so is not seen among them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libopenal1")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglut3.12 | freeglut3, libglu1-mesa | libglu1, libgl1, libopenal1, libx11-6, libc6, libstdc++6")
endif()
find_program(SLOT_DPKG dpkg)
if(NOT DEFINED CPACK_GENERATOR)
  if(SLOT_DPKG)
    set(CPACK_GENERATOR DEB)
  else()
    set(CPACK_GENERATOR TGZ)
  endif()
endif()
include(CPack)

# ---------------------------------------------------------------------------------
# Tests: the installed tree and the unpacked package each validate and start the game
# ---------------------------------------------------------------------------------

if(BUILD_TESTING)
  set(slot_command_dir_prefix ${CMAKE_INSTALL_BINDIR})
  set(slot_command_dir_deb ${SLOT_GAMES_DIR})
  foreach(kind prefix deb)
    add_test(NAME install_${kind}_starts_the_game
             COMMAND ${PROJECT_SOURCE_DIR}/packaging/test_install.sh ${kind} ${CMAKE_BINARY_DIR}
                     ${slot_command_dir_${kind}} ${SLOT_PROGRAM_DIR} ${SLOT_PICTURE_DIR} ${CMAKE_INSTALL_DATADIR}/applications
                     ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps ${SLOT_MANUAL_DIR}
                     ${CMAKE_INSTALL_DATADIR}/metainfo $<IF:${SLOT_FORTIFIED},fortified,unfortified>)
    set_tests_properties(install_${kind}_starts_the_game PROPERTIES LABELS "install;e2e" RESOURCE_LOCK xdisplay
                                                                   TIMEOUT 240 SKIP_RETURN_CODE 77)
  endforeach()
endif()
