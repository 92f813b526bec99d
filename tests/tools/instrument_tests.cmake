# Tests of ravelin-instrument: the simulator runs as a child process against a PC peer.
ravelin_gtest(instrument_tests
    SOURCES instrument_harness.cpp instrument_dump_test.cpp instrument_upload_test.cpp
    LIBS util)
target_compile_definitions(instrument_tests PRIVATE
    RAVELIN_INSTRUMENT_PATH="$<TARGET_FILE:ravelin-instrument>")
add_dependencies(instrument_tests ravelin-instrument)
