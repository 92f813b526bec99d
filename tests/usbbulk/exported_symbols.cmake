# Fails unless LIBRARY exports exactly the six usbbulk operations, dll_getOpenFailure and
# dll_getReadFailure.
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE symbols
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${symbols}")
set(exported "")
foreach(line IN LISTS names)
    string(STRIP "${line}" name)
    list(APPEND exported ${name})
endforeach()
list(SORT exported)
set(expected dll_Get_Long dll_closeUsbPipe dll_getDeviceDescriptor dll_openUsbPipe dll_readPipe
             dll_writePipe dll_getOpenFailure dll_getReadFailure)
list(SORT expected)
if(NOT exported STREQUAL expected)
    message(FATAL_ERROR "exported: ${exported}\nexpected: ${expected}")
endif()
