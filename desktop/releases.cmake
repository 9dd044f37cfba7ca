# SPDX-License-Identifier: MIT
# Every release, newest first: "VERSION DATE what it brought". The package's
# changelog and the release list that software centres show are both written
# from here, and the newest entry must be the project's version, so that a
# new version cannot ship without its note.
set(QUILLMOOR_RELEASES
    "1.0.1 2026-12-07 The first release: the level editor, the player in a window and in a terminal, the checker and the web page publisher, in English, German, French and Spanish."
)

# Writes QUILLMOOR_RELEASES_XML (the <release> elements), changelog.gz in
# this folder of the build, and QUILLMOOR_RELEASE_EPOCH (the newest release's
# date, which dates the manual pages so that a rebuild writes the same bytes).
set(QUILLMOOR_RELEASES_XML "")
set(changelog "")
foreach(release IN LISTS QUILLMOOR_RELEASES)
    if(NOT release MATCHES "^([0-9.]+) ([0-9]+-[0-9]+-[0-9]+) (.+)$")
        message(FATAL_ERROR "desktop/releases.cmake: \"${release}\" is not \"VERSION YYYY-MM-DD notes\".")
    endif()
    set(version ${CMAKE_MATCH_1})
    set(date ${CMAKE_MATCH_2})
    set(notes ${CMAKE_MATCH_3})
    if(NOT DEFINED QUILLMOOR_RELEASE_EPOCH)
        if(NOT version VERSION_EQUAL PROJECT_VERSION)
            message(FATAL_ERROR "desktop/releases.cmake: the newest release is ${version}, the project's "
                                "version ${PROJECT_VERSION}; add a line for ${PROJECT_VERSION} there.")
        endif()
        execute_process(COMMAND date --utc --date=${date} +%s OUTPUT_VARIABLE QUILLMOOR_RELEASE_EPOCH
                        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    endif()
    execute_process(COMMAND date --utc --date=${date} -R OUTPUT_VARIABLE when
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

    # Debian's changelog: the notes as one item, wrapped within 80 columns.
    set(item "  *")
    set(line "  *")
    string(REPLACE " " ";" words "${notes}")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(length GREATER 78)
            string(APPEND item "\n   ")
            set(line "   ")
        endif()
        string(APPEND item " ${word}")
        string(APPEND line " ${word}")
    endforeach()
    string(APPEND changelog "quillmoor (${version}) unstable; urgency=medium\n\n${item}\n\n"
                            " -- ${QUILLMOOR_PACKAGE_MAINTAINER}  ${when}\n\n")

    string(REPLACE "&" "&amp;" notes "${notes}")
    string(REPLACE "<" "&lt;" notes "${notes}")
    string(REPLACE ">" "&gt;" notes "${notes}")
    string(APPEND QUILLMOOR_RELEASES_XML
        "    <release version=\"${version}\" date=\"${date}\">\n"
        "      <description>\n        <p>${notes}</p>\n      </description>\n    </release>\n")
endforeach()
string(STRIP "${QUILLMOOR_RELEASES_XML}" QUILLMOOR_RELEASES_XML)
string(REGEX REPLACE "\n+$" "\n" changelog "${changelog}")

# Debian wants it compressed as gzip -9n does: without a name or a time in it.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/changelog.new "${changelog}")
configure_file(${CMAKE_CURRENT_BINARY_DIR}/changelog.new ${CMAKE_CURRENT_BINARY_DIR}/changelog COPYONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    COMMAND gzip -9n --force --keep ${CMAKE_CURRENT_BINARY_DIR}/changelog
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog
    COMMENT "Compressing the changelog"
    VERBATIM)
add_custom_target(packagechangelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmoor)
