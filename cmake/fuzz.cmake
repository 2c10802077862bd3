# Fuzz targets for every reader of a file a player can touch, and of what comes from the
# network (tests/fuzz/targets).
# With TROK_FUZZ (clang only) each becomes a libFuzzer program fuzz_<name>; in every
# test build each also becomes fuzz_replay_<name>, which the test suite runs over the
# seed corpus and the inputs that once crashed (tests/fuzz/corpus, tests/fuzz/regressions).
set(TROK_FUZZ_TARGETS
  "level_file:trok_play"
  "level_text:trok_authoring"
  "options_file:trok_screens"
  "high_scores_file:trok_screens"
  "wave_file:trok_audio"
  "bmp_file:trok_base"
  "jpeg_file:trok_base"
  "midi_file:trok_audio"
  "replay_file:trok_replay"
  "net_message:trok_net")

set(fuzz_dir ${CMAKE_SOURCE_DIR}/tests/fuzz)
if(TROK_FUZZ)
  add_custom_target(fuzz_all)
endif()
foreach(entry ${TROK_FUZZ_TARGETS})
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 library)
  set(source ${fuzz_dir}/targets/${name}.cpp)
  if(TROK_FUZZ)
    add_executable(fuzz_${name} ${source})
    target_link_libraries(fuzz_${name} PRIVATE ${library})
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_all fuzz_${name})
  elseif(TROK_TESTS)
    add_executable(fuzz_replay_${name} ${source} ${fuzz_dir}/replay/replay_main.cpp)
    target_link_libraries(fuzz_replay_${name} PRIVATE ${library})
    target_include_directories(fuzz_replay_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
    add_test(NAME FuzzReplay.${name}
             COMMAND fuzz_replay_${name} ${fuzz_dir}/corpus/${name} ${fuzz_dir}/regressions/${name})
    # An absurd allocation is a failure here, as it is for the fuzzer.
    set_tests_properties(FuzzReplay.${name} PROPERTIES ENVIRONMENT "ASAN_OPTIONS=max_allocation_size_mb=512")
  endif()
endforeach()
