# TOOL --help prints its usage on standard output and TOOL --version "NAME VERSION", both with
# exit status 0 and nothing on standard error.
foreach(option --help --version)
    execute_process(COMMAND ${TOOL} ${option} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT status STREQUAL "0" OR NOT err STREQUAL "")
        message(FATAL_ERROR "${NAME} ${option}: exit ${status}, standard error:\n${err}")
    endif()
    set(output${option} "${out}")
endforeach()
if(NOT output--help MATCHES "^Usage: ${NAME} \\[options\\]")
    message(FATAL_ERROR "${NAME} --help does not begin with its usage:\n${output--help}")
endif()
if(NOT output--version STREQUAL "${NAME} ${VERSION}\n")
    message(FATAL_ERROR "${NAME} --version: '${output--version}'")
endif()
