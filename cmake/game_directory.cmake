# Assembles the playable game directory: the executable beside Objects/, Sounds/,
# Music/, FELDS/, Pictures/ and the starting data files, all made by the project's own tools.
set(TROK_GAME_DIR ${CMAKE_BINARY_DIR}/game)
set(game_stamps)

if(TARGET level_tool)
  file(GLOB level_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/levels/*.txt)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/levels.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TROK_GAME_DIR}/FELDS
    COMMAND level_tool compile-all ${CMAKE_SOURCE_DIR}/levels ${TROK_GAME_DIR}/FELDS
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/levels.stamp
    DEPENDS level_tool ${level_sources}
    COMMENT "Compiling levels")
  list(APPEND game_stamps ${CMAKE_BINARY_DIR}/levels.stamp)
endif()

if(TARGET tile_maker)
  file(GLOB_RECURSE art_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.txt)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/art.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TROK_GAME_DIR}/Objects
    COMMAND tile_maker ${CMAKE_SOURCE_DIR}/assets ${TROK_GAME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/art.stamp
    DEPENDS tile_maker ${art_sources}
    COMMENT "Making tile pictures")
  list(APPEND game_stamps ${CMAKE_BINARY_DIR}/art.stamp)
endif()

if(TARGET title_picture AND TARGET tile_maker)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/title_picture.stamp
    COMMAND title_picture ${TROK_GAME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/title_picture.stamp
    DEPENDS title_picture ${CMAKE_BINARY_DIR}/art.stamp
    COMMENT "Making the title picture")
  list(APPEND game_stamps ${CMAKE_BINARY_DIR}/title_picture.stamp)
endif()

if(TARGET sound_maker)
  file(GLOB sound_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/sounds/*.sfx)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/sounds.stamp
    COMMAND sound_maker ${CMAKE_SOURCE_DIR}/assets ${TROK_GAME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/sounds.stamp
    DEPENDS sound_maker ${sound_sources}
    COMMENT "Making sound effects")
  list(APPEND game_stamps ${CMAKE_BINARY_DIR}/sounds.stamp)
endif()

if(TARGET music_maker)
  file(GLOB music_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/music/*.tune)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/music.stamp
    COMMAND music_maker ${CMAKE_SOURCE_DIR}/assets ${TROK_GAME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/music.stamp
    DEPENDS music_maker ${music_sources}
    COMMENT "Making music")
  list(APPEND game_stamps ${CMAKE_BINARY_DIR}/music.stamp)
endif()

file(GLOB data_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set(copy_data)
if(data_files)
  set(copy_data COMMAND ${CMAKE_COMMAND} -E copy_if_different ${data_files} ${TROK_GAME_DIR}/)
endif()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/data.stamp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TROK_GAME_DIR}/Sounds ${TROK_GAME_DIR}/Music
  ${copy_data}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/data.stamp
  DEPENDS ${data_files}
  COMMENT "Copying starting data files")
list(APPEND game_stamps ${CMAKE_BINARY_DIR}/data.stamp)

add_custom_target(game_directory ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:trok> ${TROK_GAME_DIR}/trok
  DEPENDS trok ${game_stamps})
