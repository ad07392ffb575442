# Installing the game like any desktop program, and packaging it as a .deb with CPack.
# Layout under the prefix (GNUInstallDirs, so any prefix and any system will do):
#   bin/slot-machine                 launcher: enters the pictures' folder, runs the game
#   libexec/slot-machine/slot-machine the program itself
#   share/slot-machine/*.bmp         the nineteen pictures, read from the working directory
#   share/applications/slot-machine.desktop, share/icons/hicolor/scalable/apps/slot-machine.svg
include(GNUInstallDirs)

set(SLOT_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/slot-machine)
set(SLOT_PICTURE_DIR ${CMAKE_INSTALL_DATADIR}/slot-machine)

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

# The launcher finds the tree from its own place: paths relative to the prefix.
file(RELATIVE_PATH SLOT_BIN_TO_PREFIX ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" SLOT_BIN_TO_PREFIX "${SLOT_BIN_TO_PREFIX}")
if(SLOT_BIN_TO_PREFIX STREQUAL "")
  set(SLOT_BIN_TO_PREFIX .)
endif()
file(RELATIVE_PATH SLOT_PICTURE_SUBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_DATADIR}/slot-machine)
file(RELATIVE_PATH SLOT_PROGRAM_SUBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBEXECDIR}/slot-machine)
configure_file(${PROJECT_SOURCE_DIR}/packaging/slot-machine.in ${CMAKE_BINARY_DIR}/packaging/slot-machine @ONLY)

install(TARGETS slot-machine RUNTIME DESTINATION ${SLOT_PROGRAM_DIR})
install(FILES ${slot_staged_pictures} DESTINATION ${SLOT_PICTURE_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/slot-machine DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/slot-machine.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# ---------------------------------------------------------------------------------
# Package: cpack -G DEB in the build folder
# ---------------------------------------------------------------------------------

set(CPACK_PACKAGE_NAME slot-machine)
set(CPACK_PACKAGE_VENDOR "Slot Machine developers")
set(CPACK_PACKAGE_CONTACT "Slot Machine developers <slot-machine@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "three-reel slot machine game in 3D")
set(CPACK_PACKAGE_DESCRIPTION
    "Bet one or five tokens, pull the lever and watch three textured reels land on\n\
their stops. A pair pays tickets, three of a kind pays tickets and tokens. The\n\
prize counter greets five tickets with a bouncing gold ball, and the token counter\n\
sells more tokens. Drawn with fixed-function OpenGL, GLU and freeglut.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
find_program(SLOT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SLOT_DPKG_SHLIBDEPS)
  # The libraries the program links, with the versions this system builds against.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglut3.12 | freeglut3, libglu1-mesa | libglu1, libgl1, libopenal1, libc6, libstdc++6")
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
# Tests: the installed tree and the unpacked package each start the game
# ---------------------------------------------------------------------------------

if(SLOT_BUILD_TESTS)
  foreach(kind prefix deb)
    add_test(NAME install_${kind}_starts_the_game
             COMMAND ${PROJECT_SOURCE_DIR}/packaging/test_install.sh ${kind} ${CMAKE_BINARY_DIR}
                     ${CMAKE_INSTALL_BINDIR} ${SLOT_PROGRAM_DIR} ${SLOT_PICTURE_DIR} ${CMAKE_INSTALL_DATADIR}/applications
                     ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    set_tests_properties(install_${kind}_starts_the_game PROPERTIES LABELS "install;e2e" RESOURCE_LOCK xdisplay
                                                                   TIMEOUT 240 SKIP_RETURN_CODE 77)
  endforeach()
endif()
