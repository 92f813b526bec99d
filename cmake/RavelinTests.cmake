# GoogleTest: Debian's build for Linux; for Windows and WebAssembly, built here from Debian's
# sources with the target's compiler, unoptimised (it only runs the tests).
if(CMAKE_CROSSCOMPILING)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE -O0 -w)
    target_compile_options(gtest_main PRIVATE -O0 -w)
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# What cannot run where a test program runs under a launcher, each with its reason; a GoogleTest
# filter, so the rest of the program still runs.
set(RAVELIN_GTEST_SKIPS "")
if(WIN32)
    # The line formatter writes a negative NaN as "-nan", as Linux does and as the outputs must;
    # the oracle of these tests, the system's printf, writes "nan" on Windows.
    list(APPEND RAVELIN_GTEST_SKIPS LineFormat.FixedNotationOfEveryKindOfFloat
         LineFormat.FixedNotationOfDoubles LineFormat.TiesSignsAndSpecialValues
         LineFormat.EveryFixedConversionOverMillionsOfValues)
    # Wine makes no symbolic links.
    list(APPEND RAVELIN_GTEST_SKIPS WriterTest.OutputNameThatLinksToTheInputIsRefused)
endif()
if(EMSCRIPTEN)
    # WebAssembly here has no threads: std::thread throws.
    list(APPEND RAVELIN_GTEST_SKIPS Framing.ConversionsRunInParallelWithoutSharingState
         WriterTest.RunsInParallelThreadsDoNotShareState)
    # Emscripten's file system on Node makes no hard links.
    list(APPEND RAVELIN_GTEST_SKIPS Framing.InputLinkedToItsOwnOutputIsRefusedUntouched)
endif()
set(RAVELIN_GTEST_ARGS "")
if(RAVELIN_GTEST_SKIPS)
    list(JOIN RAVELIN_GTEST_SKIPS ":" filter)
    set(RAVELIN_GTEST_ARGS --gtest_filter=-${filter})
endif()

# ravelin_gtest(NAME SOURCES... LIBS ...): a GoogleTest executable registered with CTest.
function(ravelin_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest_main ravelin_fixtures ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    if(CMAKE_CROSSCOMPILING)
        # The libraries under test keep the build's optimisation; the tests' own code compiles
        # unoptimised, in 60 % of the time (GoogleTest's macros are slow to optimise).
        target_compile_options(${name} PRIVATE -O0 $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
        set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
        # bin/ holds what the Windows zip delivers.
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                 ${PROJECT_BINARY_DIR}/test-bin)
        # Under Wine or Node each process pays the launcher's start: one test per program, run
        # through CMAKE_CROSSCOMPILING_EMULATOR.
        add_test(NAME ${name} COMMAND ${name} ${RAVELIN_GTEST_ARGS})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                             PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()

if(RAVELIN_CORE_ONLY)
    return()
endif()

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
