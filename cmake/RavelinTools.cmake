# ravelin_tool(NAME SUMMARY): NAME is a command-line tool of the package. It is installed beside
# the program, gets a manual page made from its --help (SUMMARY is the page's one-line
# description) and a test that it answers --help and --version.
find_program(RAVELIN_HELP2MAN help2man)
set(RAVELIN_MAN_DIR ${PROJECT_BINARY_DIR}/man)

function(ravelin_tool name summary)
    install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Another system's tools are tested by the stages of ./do that run them there.
    if(RAVELIN_CORE_ONLY)
        return()
    endif()
    add_test(NAME ${name}_answers_help_and_version
             COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:${name}> -DNAME=${name}
                     -DVERSION=${PROJECT_VERSION}
                     -P ${PROJECT_SOURCE_DIR}/tests/tools/help_and_version.cmake)
    # The sanitizer build tests the tools; the manual pages come from the Release build.
    if(RAVELIN_HELP2MAN AND NOT RAVELIN_SANITIZE)
        set(page ${RAVELIN_MAN_DIR}/${name}.1)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${RAVELIN_HELP2MAN} --no-info --name=${summary} --output=${page}
                    $<TARGET_FILE:${name}>
            COMMAND gzip -9nf ${page}
            DEPENDS ${name}
            COMMENT "Manual page of ${name}"
            VERBATIM)
        add_custom_target(${name}_man_page ALL DEPENDS ${page}.gz)
        install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
endfunction()
