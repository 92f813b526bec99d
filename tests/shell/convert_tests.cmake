# Tests of the conversion front end.
add_subdirectory(${PROJECT_SOURCE_DIR}/tests/support/standin_dumpdec
                 ${CMAKE_CURRENT_BINARY_DIR}/standin_dumpdec)

ravelin_qtest(binding_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/binding_test.cpp
              LIBS ravelin_convert_units)
add_dependencies(binding_test standin_dumpdec standin_noentry)

ravelin_qtest(xyz_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/xyz_test.cpp
              LIBS ravelin_convert_units)

ravelin_qtest(print_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_test.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/print_pdf_reader.cpp
              LIBS ravelin_convert_units)

ravelin_qtest(convert_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/convert_test.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/print_pdf_reader.cpp
              LIBS ravelin_shell ravelin_convert_units ravelin_samples)
add_dependencies(convert_test dumpdec standin_dumpdec)
