# cmake -DPROGRAM=... -DSUPPRESSIONS=... -P leak_is_reported.cmake
# Runs the deliberately leaking program with the project's leak suppressions: it must fail, and
# the leak sanitizer must name both of its leaks.
set(ENV{ASAN_OPTIONS} "detect_leaks=1")
set(ENV{LSAN_OPTIONS} "suppressions=${SUPPRESSIONS}:print_suppressions=1")
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(status EQUAL 0)
    message(FATAL_ERROR "the deliberate leaks went unreported (exit status 0)")
endif()
foreach(leak "Direct leak of 400 byte" "Direct leak of 300 byte")
    string(FIND "${out}" "${leak}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "not reported: ${leak}")
    endif()
endforeach()
if(NOT out MATCHES "Totals: [0-9]+ passed, 0 failed")
    message(FATAL_ERROR "the leaking test functions themselves did not pass")
endif()
