# Installing in Debian's layout for games, and the Debian package (cpack -G DEB):
#   <prefix>/games/trok-mirel, trok-mirel-edit   the launchers of the game and the level editor
#   <prefix>/lib/games/trok-mirel/trok, trok-edit the programs
#   <prefix>/share/games/trok-mirel/              Objects, Pictures, Sounds, Music, FELDS,
#                                                 the starting HighScores.dat
#   <prefix>/share/applications, metainfo, icons/hicolor, man/man6, doc/trok-mirel
# The program keeps everything in the directory it is started in; the launcher gives
# each player such a directory of their own (packaging/trok-mirel.in).
set(TROK_PACKAGE trok-mirel)
set(TROK_APP_ID org.trokmirel.TrokMirel)
set(TROK_LAUNCHER_DIR games)
set(TROK_PROGRAM_DIR lib/games/${TROK_PACKAGE})
set(TROK_DATA_DIR share/games/${TROK_PACKAGE})
set(TROK_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The icons and the window's own picture, made by the tile maker from the tile art.
set(TROK_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${TROK_ICON_DIR}/window_icon.h
  BYPRODUCTS ${TROK_ICON_DIR}/hicolor/scalable/apps/${TROK_PACKAGE}.svg
  COMMAND tile_maker --icons ${CMAKE_SOURCE_DIR}/assets ${TROK_ICON_DIR} ${TROK_PACKAGE}
  DEPENDS tile_maker ${art_sources}
  COMMENT "Making the program's icons")
foreach(program trok trok-edit)
  target_sources(${program} PRIVATE ${TROK_ICON_DIR}/window_icon.h)
  target_include_directories(${program} PRIVATE ${TROK_ICON_DIR})
endforeach()

# The launcher finds the program and the data from its own folder, so that
# `cmake --install --prefix` and DESTDIR work as well as the package.
file(RELATIVE_PATH TROK_LAUNCHER_TO_PROGRAM /${TROK_LAUNCHER_DIR} /${TROK_PROGRAM_DIR})
file(RELATIVE_PATH TROK_LAUNCHER_TO_DATA /${TROK_LAUNCHER_DIR} /${TROK_DATA_DIR})
# One launcher for the game and one for the level editor, from the same script.
set(TROK_LAUNCHER_NAME ${TROK_PACKAGE})
set(TROK_LAUNCHED_PROGRAM trok)
set(TROK_LAUNCHED_TITLE "TROK Mirel")
configure_file(packaging/trok-mirel.in ${TROK_PACKAGING_DIR}/${TROK_PACKAGE} @ONLY)
set(TROK_LAUNCHER_NAME ${TROK_PACKAGE}-edit)
set(TROK_LAUNCHED_PROGRAM trok-edit)
set(TROK_LAUNCHED_TITLE "the TROK Mirel level editor")
configure_file(packaging/trok-mirel.in ${TROK_PACKAGING_DIR}/${TROK_PACKAGE}-edit @ONLY)
configure_file(packaging/trok-mirel.metainfo.xml.in ${TROK_PACKAGING_DIR}/${TROK_APP_ID}.metainfo.xml @ONLY)

# Debian ships the manual page and the change log compressed.
find_program(GZIP_PROGRAM gzip)
set(TROK_MAN_PAGE ${CMAKE_SOURCE_DIR}/packaging/${TROK_PACKAGE}.6)
set(TROK_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/changelog)
if(GZIP_PROGRAM)
  foreach(kind MAN_PAGE CHANGELOG)
    get_filename_component(name ${TROK_${kind}} NAME)
    add_custom_command(
      OUTPUT ${TROK_PACKAGING_DIR}/${name}.gz
      COMMAND ${GZIP_PROGRAM} -9 -n -c ${TROK_${kind}} > ${TROK_PACKAGING_DIR}/${name}.gz
      DEPENDS ${TROK_${kind}}
      COMMENT "Compressing ${name}")
    set(TROK_${kind} ${TROK_PACKAGING_DIR}/${name}.gz)
  endforeach()
endif()
# `man trok-mirel-edit` shows the game's page, which has the editor's section.
set(TROK_EDITOR_MAN_PAGE ${TROK_PACKAGING_DIR}/${TROK_PACKAGE}-edit.6)
file(WRITE ${TROK_EDITOR_MAN_PAGE} ".so man6/${TROK_PACKAGE}.6\n")
if(GZIP_PROGRAM)
  add_custom_command(
    OUTPUT ${TROK_EDITOR_MAN_PAGE}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${TROK_EDITOR_MAN_PAGE} > ${TROK_EDITOR_MAN_PAGE}.gz
    DEPENDS ${TROK_EDITOR_MAN_PAGE}
    COMMENT "Compressing ${TROK_PACKAGE}-edit.6")
  set(TROK_EDITOR_MAN_PAGE ${TROK_EDITOR_MAN_PAGE}.gz)
endif()
add_custom_target(desktop_files ALL
  DEPENDS ${TROK_ICON_DIR}/window_icon.h ${TROK_MAN_PAGE} ${TROK_EDITOR_MAN_PAGE} ${TROK_CHANGELOG})

install(PROGRAMS ${TROK_PACKAGING_DIR}/${TROK_PACKAGE} ${TROK_PACKAGING_DIR}/${TROK_PACKAGE}-edit
        DESTINATION ${TROK_LAUNCHER_DIR})
install(TARGETS trok trok-edit RUNTIME DESTINATION ${TROK_PROGRAM_DIR})
# Only the folders the program reads: a game directory that was played in also holds
# settings, a played high-score table and captures.
install(DIRECTORY ${TROK_GAME_DIR}/Objects ${TROK_GAME_DIR}/Pictures ${TROK_GAME_DIR}/Sounds
                  ${TROK_GAME_DIR}/Music ${TROK_GAME_DIR}/FELDS ${TROK_GAME_DIR}/Solutions
        DESTINATION ${TROK_DATA_DIR} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/data/HighScores.dat DESTINATION ${TROK_DATA_DIR})
install(FILES packaging/${TROK_PACKAGE}.desktop DESTINATION share/applications RENAME ${TROK_APP_ID}.desktop)
install(FILES packaging/${TROK_PACKAGE}-edit.desktop DESTINATION share/applications
        RENAME ${TROK_APP_ID}.Editor.desktop)
install(FILES ${TROK_PACKAGING_DIR}/${TROK_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${TROK_ICON_DIR}/hicolor DESTINATION share/icons)
install(FILES ${TROK_MAN_PAGE} ${TROK_EDITOR_MAN_PAGE} DESTINATION share/man/man6)
install(FILES packaging/copyright ${TROK_CHANGELOG} DESTINATION share/doc/${TROK_PACKAGE})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TROK_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down maze shooter for one or two players")
# The summary above is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Each level is a maze of three by three rooms. Walk the rooms, shoot the\n"
    "creatures and the nests they come from, collect gold, keys, health kits,\n"
    "bombs and shields, open doors, dodge fire darts, lasers and death fields,\n"
    "and find the finish that warps you to the next level. One player, or two on\n"
    "one keyboard or with game pads.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(TROK_PACKAGE_MAINTAINER "The TROK Mirel for Linux developers <packages@trokmirel.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TROK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What the program opens at run time without linking it: the fonts, the sound font,
# the mixer's and the MIDI synthesizer's libraries (opened when sound is first wanted,
# so dpkg-shlibdeps does not see them).
set(TROK_RUNTIME_DEPENDS
    "libsdl2-mixer-2.0-0, libfluidsynth3, fonts-comic-neue, fonts-dejavu-core, timgm6mb-soundfont")
# The libraries it links. dpkg-shlibdeps gives their exact versions for a release
# build; a sanitizer build would add the sanitizers' run-time libraries, so it takes
# the plain list.
set(TROK_LINKED_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libsdl2-2.0-0, libsdl2-ttf-2.0-0, libjpeg62-turbo, libenet7")
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS AND NOT TROK_SANITIZE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS ${TROK_RUNTIME_DEPENDS})
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${TROK_LINKED_DEPENDS}, ${TROK_RUNTIME_DEPENDS}")
endif()
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

if(TROK_TESTS)
  set(install_tests ${CMAKE_SOURCE_DIR}/tests/install)
  add_test(NAME Install.LauncherGivesEachPlayerTheirOwnDirectory
           COMMAND bash ${install_tests}/launcher_test.sh ${CMAKE_BINARY_DIR})
  add_test(NAME Install.DesktopEntryAndMetainfoValidate
           COMMAND bash ${install_tests}/validate_test.sh ${CMAKE_BINARY_DIR})
  add_test(NAME Install.DebianPackageContents
           COMMAND bash ${install_tests}/package_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(Install.LauncherGivesEachPlayerTheirOwnDirectory Install.DesktopEntryAndMetainfoValidate
                       Install.DebianPackageContents PROPERTIES SKIP_RETURN_CODE 77)
endif()
