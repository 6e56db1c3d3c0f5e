# quillmere_add_test(NAME source... LIBS lib...): one Qt Test program,
# registered with CTest and run offscreen with a settings folder of its own.
function(quillmere_add_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quillmere_testsupport Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set(tmp ${CMAKE_BINARY_DIR}/test-home/${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${tmp}/config;XDG_STATE_HOME=${tmp}/state;QUILLMERE_TEST_TMP=${tmp};QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT 120)
endfunction()
