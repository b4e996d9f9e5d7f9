# Installing and packaging: the module, the tools, the demo collections and
# the documents (the GIMP plug-in installs itself from tools/gimp-plugin).
# The programs know the installed folders from HUELINK_INSTALL_DATADIR and
# the install prefix, so a package installs below the prefix configured.
install(TARGETS huelink_picker LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/huelink)
install(TARGETS huelink-host huelink-collection RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET demo_collections)
    install(FILES ${HUELINK_COLLECTION_OUTPUT_DIR}/demo-interior.db ${HUELINK_COLLECTION_OUTPUT_DIR}/demo-pelvon.db
            DESTINATION ${CMAKE_INSTALL_DATADIR}/huelink/Vestrel/Huelink/SQLite/Contents/Resources)
endif()
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/huelink)
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/huelink)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME huelink)
set(CPACK_PACKAGE_VENDOR Vestrel)
set(CPACK_PACKAGE_CONTACT "Huelink developers <huelink@vestrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Paint colour collections for image editors, with a GIMP plug-in")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The toolkit's SQLite driver and platform plug-ins are loaded at run time
# (and the host types --keys through the toolkit's test library),
# so no library scan would find them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6test6 (>= 6.4), qt6-qpa-plugins (>= 6.4), libxml2 (>= 2.9), libsqlite3-0")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gimp (>= 2.10)")
include(CPack)
