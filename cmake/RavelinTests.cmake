# ravelin_gtest(NAME SOURCES... LIBS ...): a GoogleTest executable registered with CTest.
function(ravelin_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest_main ravelin_fixtures ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Qt Test program that skipped a function is reported as skipped, not passed (run_qtest.sh).
set(RAVELIN_QTEST_RUNNER ${PROJECT_SOURCE_DIR}/tests/support/run_qtest.sh)

# ravelin_qtest(NAME SOURCES... LIBS ...): a Qt Test executable, run offscreen.
function(ravelin_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE Qt6::Test ravelin_fixtures ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    add_test(NAME ${name} COMMAND ${RAVELIN_QTEST_RUNNER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                            TIMEOUT 300 SKIP_RETURN_CODE 77)
endfunction()
