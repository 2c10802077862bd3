# Assembles the playable game directory: the executables beside Objects/, Sounds/,
# Music/, FELDS/, Pictures/ and the starting data files, all made by the project's own tools.
set(TROK_GAME_DIR ${CMAKE_BINARY_DIR}/game)
set(game_stamps)

# One build step of the game directory: runs `tool` with `args` whenever the tool or
# one of `sources` changes, and records it in a stamp file.
function(game_asset stamp tool comment)
  cmake_parse_arguments(asset "" "" "ARGS;SOURCES" ${ARGN})
  if(NOT TARGET ${tool})
    return()
  endif()
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${stamp}.stamp
    COMMAND ${tool} ${asset_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/${stamp}.stamp
    DEPENDS ${tool} ${asset_SOURCES}
    COMMENT ${comment})
  set(game_stamps ${game_stamps} ${CMAKE_BINARY_DIR}/${stamp}.stamp PARENT_SCOPE)
endfunction()

file(GLOB level_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/levels/*.txt)
file(GLOB_RECURSE art_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.txt)
file(GLOB sound_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/sounds/*.sfx)
file(GLOB music_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/music/*.tune)

game_asset(levels level_tool "Compiling levels"
  ARGS compile-all ${CMAKE_SOURCE_DIR}/levels ${TROK_GAME_DIR}/FELDS SOURCES ${level_sources})
game_asset(art tile_maker "Making tile pictures"
  ARGS ${CMAKE_SOURCE_DIR}/assets ${TROK_GAME_DIR} SOURCES ${art_sources})
# The title picture is drawn from the tiles just made.
game_asset(title_picture title_picture "Making the title picture"
  ARGS ${TROK_GAME_DIR} SOURCES ${CMAKE_BINARY_DIR}/art.stamp)
game_asset(sounds sound_maker "Making sound effects"
  ARGS ${CMAKE_SOURCE_DIR}/assets ${TROK_GAME_DIR} SOURCES ${sound_sources})
game_asset(music music_maker "Making music"
  ARGS ${CMAKE_SOURCE_DIR}/assets ${TROK_GAME_DIR} SOURCES ${music_sources})

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

# Each level's solutions for one and two players, checked by the test suite.
file(GLOB solution_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/levels/solutions/*.trokreplay)
set(copy_solutions)
if(solution_files)
  set(copy_solutions COMMAND ${CMAKE_COMMAND} -E copy_if_different ${solution_files} ${TROK_GAME_DIR}/Solutions/)
endif()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/solutions.stamp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TROK_GAME_DIR}/Solutions
  ${copy_solutions}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/solutions.stamp
  DEPENDS ${solution_files}
  COMMENT "Copying the levels' solutions")
list(APPEND game_stamps ${CMAKE_BINARY_DIR}/solutions.stamp)

# The level editor lives beside the game and edits its levels.
add_custom_target(game_directory ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:trok> ${TROK_GAME_DIR}/trok
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:trok-edit> ${TROK_GAME_DIR}/trok-edit
  DEPENDS trok trok-edit ${game_stamps})
