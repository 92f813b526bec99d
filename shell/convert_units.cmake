# The conversion front end's units below the window: decoder binding, printout, ".xyz" file.
add_library(ravelin_convert_units STATIC
    ${CMAKE_CURRENT_LIST_DIR}/dumpdec_binding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/print_surface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/survey_printer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xyz_file.cpp)
target_include_directories(ravelin_convert_units PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(ravelin_convert_units
    PRIVATE RAVELIN_INSTALL_LIBDIR="${CMAKE_INSTALL_LIBDIR}")
target_link_libraries(ravelin_convert_units PUBLIC ravelin_common Qt6::Core Qt6::Gui Qt6::PrintSupport)
