# keld_add_gtest(NAME <target> LABEL <module> [GUI] SOURCES ... LIBS ...)
# Builds a GoogleTest program and registers each of its tests with CTest.
# Every test process runs with a fresh KELD_HOME (set by the shared test
# main) and the offscreen Qt platform.
include(GoogleTest)
function(keld_add_gtest)
  if(NOT KELD_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "GUI" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE keld_test_main_gui)
  else()
    target_link_libraries(${T_NAME} PRIVATE keld_test_main)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KELD_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()

# keld_add_fuzz(NAME <target> SOURCES ... LIBS ... [SECONDS n] [CORPUS dir])
# With KELD_FUZZ (clang): a libFuzzer program, registered under the CTest label
# "fuzz" which CI does not run. Without it: the same entry point driven by a
# small main over the seed corpus, so the target keeps compiling and the seeds
# are checked in every ordinary test run.
function(keld_add_fuzz)
  cmake_parse_arguments(F "" "NAME;SECONDS;CORPUS;LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT F_SECONDS)
    set(F_SECONDS 180)
  endif()
  if(KELD_FUZZ)
    add_executable(${F_NAME} ${F_SOURCES})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    set(corpus_dir ${CMAKE_BINARY_DIR}/fuzz-corpus/${F_NAME})
    file(MAKE_DIRECTORY ${corpus_dir})
    add_test(NAME ${F_NAME} COMMAND ${F_NAME} -max_total_time=${F_SECONDS} -timeout=10 ${corpus_dir} ${F_CORPUS})
    set_tests_properties(${F_NAME} PROPERTIES LABELS fuzz TIMEOUT 0
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  elseif(KELD_BUILD_TESTS)
    add_executable(${F_NAME} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/tests/common/fuzz_replay_main.cpp)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT F_LABEL)
      set(F_LABEL fuzz-seeds)
    endif()
    add_test(NAME ${F_NAME}_seeds COMMAND ${F_NAME} ${F_CORPUS})
    set_tests_properties(${F_NAME}_seeds PROPERTIES LABELS "${F_LABEL}"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  if(TARGET ${F_NAME})
    # The header-only helpers of the tests (whole-file bytes and the like).
    target_include_directories(${F_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  endif()
endfunction()
