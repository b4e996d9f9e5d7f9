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

# What Debian asks of every package: the copyright file as it reads it, a
# changelog compressed without a time stamp, and a manual page per program.
set(HUELINK_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/packaging/debian)
install(FILES ${HUELINK_PACKAGE_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/huelink)
set(changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND sh -c "gzip -9n -c '${HUELINK_PACKAGE_DIR}/changelog' > '${changelog_gz}'"
    DEPENDS ${HUELINK_PACKAGE_DIR}/changelog
    VERBATIM)
set(package_files ${changelog_gz})
install(FILES ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/huelink)

# The manual pages are made from each program's --help by Debian's tool.
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM)
    foreach(entry "huelink-host|stand-in host that loads the Huelink colour-picker module"
                  "huelink-collection|build, inspect and match Huelink colour collection files")
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 program)
        list(GET entry 1 summary)
        set(page ${CMAKE_BINARY_DIR}/packaging/${program}.1)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                    ${HELP2MAN_PROGRAM} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
                    --name=${summary} --output=${page} $<TARGET_FILE:${program}>
            COMMAND gzip -9nf ${page}
            DEPENDS ${program}
            COMMENT "Writing the manual page of ${program}"
            VERBATIM)
        list(APPEND package_files ${page}.gz)
        install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
else()
    message(STATUS "Manual pages skipped: help2man not found")
endif()
add_custom_target(package_files ALL DEPENDS ${package_files})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME huelink)
set(CPACK_PACKAGE_VENDOR Vestrel)
set(CPACK_PACKAGE_CONTACT "Huelink developers <huelink@vestrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "paint colour collections for GIMP and Inkscape")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${HUELINK_PACKAGE_DIR}/description)
# A package lives below /usr. The programs know their installed folders from
# the prefix they were built for, so a build for another prefix cannot make
# a working package and packaging stops with the reason.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR OFF)
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(prefix_check ${CMAKE_BINARY_DIR}/packaging/prefix-check.cmake)
    file(WRITE ${prefix_check} "message(FATAL_ERROR \"This build is for ${CMAKE_INSTALL_PREFIX}; \"
        \"a package needs a build configured with -DCMAKE_INSTALL_PREFIX=/usr\")\n")
    set(CPACK_PRE_BUILD_SCRIPTS ${prefix_check})
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# A stripped binary still carries the compilers' version lines; Debian's own
# stripping drops them too. This rule runs after every other install rule, so
# the files installed so far are every program and library of the package.
install(CODE "set(huelink_objcopy \"${CMAKE_OBJCOPY}\")")
install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
            set(file "$ENV{DESTDIR}${file}")
            file(READ "${file}" magic LIMIT 4 HEX)
            if(magic STREQUAL "7f454c46")
                execute_process(COMMAND "${huelink_objcopy}" --remove-section=.comment "${file}" RESULT_VARIABLE failed)
                if(failed)
                    message(FATAL_ERROR "cannot remove the .comment section of ${file}")
                endif()
            endif()
        endforeach()
    endif()]])
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The toolkit's SQLite driver and platform plug-ins are loaded at run time
# (and the host types --keys through the toolkit's test library),
# so no library scan would find them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6test6 (>= 6.4), qt6-qpa-plugins (>= 6.4), libxml2 (>= 2.9), libsqlite3-0, libfontconfig1")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gimp (>= 2.10), inkscape (>= 1.2)")
include(CPack)
