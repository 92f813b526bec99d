# The Debian package (./do package), made by CPack from the Release build: the program and the
# tools in /usr/bin, the libraries in their private folder, the desktop entry, icon, AppStream
# metadata, manual pages, and the files only a package installs (the udev rule, run as root, and
# the Debian copyright and changelog), which a plain "cmake --install" leaves out.
set(RAVELIN_MAINTAINER "RAVELIN developers <ravelin@example.org>")
set(RAVELIN_UDEV_RULES_DIR /lib/udev/rules.d CACHE PATH "Where the package puts its udev rule")
set(RAVELIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/ravelin)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

# Compressed as Debian wants documentation: gzip -9n, no time stamp.
function(ravelin_gzip source destination)
    get_filename_component(name ${source} NAME)
    set(compressed ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND gzip -9nc ${source} > ${compressed}
        DEPENDS ${source})
    add_custom_target(ravelin_${name}_gz ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${destination} ${ARGN})
endfunction()

install(FILES ${packaging}/org.ravelin.ravelin.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
ravelin_gzip(${packaging}/RAVELIN.1 ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/60-ravelin.rules DESTINATION ${RAVELIN_UDEV_RULES_DIR}
        COMPONENT deb EXCLUDE_FROM_ALL)

# The copyright file in Debian's machine-readable format, made from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${licence}")
set(RAVELIN_COPYRIGHT ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*\n(Permission is hereby)" "\\1" permission "${licence}")
string(STRIP "${permission}" permission)
string(REPLACE "\n\n" "\n.\n" permission "${permission}")
string(REPLACE "\n" "\n " RAVELIN_PERMISSION "${permission}")
configure_file(${packaging}/copyright.in ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright DESTINATION ${RAVELIN_DOC_DIR}
        COMPONENT deb EXCLUDE_FROM_ALL)
configure_file(${packaging}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
ravelin_gzip(${PROJECT_BINARY_DIR}/packaging/changelog ${RAVELIN_DOC_DIR}
             COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${RAVELIN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "field utility for KX-4 gravity meters and VIREL resistivity receivers")
set(CPACK_PACKAGE_DESCRIPTION
    "RAVELIN copies the data memory of a KX-4 gravity meter or a VIREL
resistivity/IP receiver into a raw database over RS-232 or USB, converts it
into survey text, listings, converted databases and pseudo-sections, and
uploads new operating systems into the instrument. Command-line tools convert
a season's dumps in one go and run dumps and uploads without the window.
The Python module ravelin reads converted databases into NumPy arrays.
.
A udev rule lets the user logged in at the seat open the instrument over USB
without root rights.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window draws through Qt's platform plugins, which no binary links. The Python module needs
# the Python it was built for; NumPy only when readings are asked for, pandas for to_pandas().
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
if(RAVELIN_PYTHON)
    list(JOIN RAVELIN_PYTHON_DEPENDS ", " python_depends)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${python_depends}")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS python3-numpy)
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS python3-pandas)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/postinst ${packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Installed under DESTDIR so that the udev rule's absolute folder lands in the package too.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS
    ${PROJECT_BINARY_DIR} ${PROJECT_NAME} ALL /
    ${PROJECT_BINARY_DIR} ${PROJECT_NAME} deb /)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
