# Which file `cmake --install` and the packages put where. On Windows a flat
# folder: datora.exe beside its read-me and licence. On Linux the usual
# tree, in install components that cmake/package_per_generator.cmake puts
# together into each package:
#   (unnamed)  the binary, the manual page, the completion, the read-me:
#              every package and a plain install
#   licence    LICENSE and the copyright file: the .tar.gz, the .rpm and a
#              plain install
#   changelog  the changelog: the .deb and the .rpm
#   deb        the copyright file (which holds the licence) and the lintian
#              override: the .deb
include(GNUInstallDirs)
set(DATORA_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/datora)
# Folders the install makes get these modes whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(DATORA_README "${PROJECT_SOURCE_DIR}/README.md")

# Removes the .comment section from TARGET after each link: it holds only
# the compilers' version strings, which lintian asks to leave out.
function(datora_remove_comment_section target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:${target}> VERBATIM)
endfunction()

# Compresses FILE into FILE.gz, without name or time in the gzip header, as
# part of the build.
function(datora_gzip target file)
  add_custom_command(OUTPUT "${file}.gz"
    COMMAND gzip -9nkf "${file}"
    DEPENDS "${file}" VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${file}.gz")
endfunction()

if(WIN32)
  install(TARGETS datora RUNTIME DESTINATION .)
  install(FILES "${DATORA_README}" DESTINATION . RENAME README.md)
  install(FILES LICENSE DESTINATION .)
  return()
endif()

datora_remove_comment_section(datora)
# The manual page with the version in its title line: every package, the
# manual page's test and lintian read this copy.
configure_file(docs/datora.1 "${DATORA_PACKAGE_FILES}/datora.1" @ONLY)
datora_gzip(datora_man_page "${DATORA_PACKAGE_FILES}/datora.1")
datora_gzip(datora_changelog "${DATORA_CHANGELOG}")

install(TARGETS datora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${DATORA_PACKAGE_FILES}/datora.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES completion/datora.bash
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME datora)
install(FILES "${DATORA_README}" DESTINATION ${DATORA_DOC_DIR} RENAME README.md)

install(FILES LICENSE "${DATORA_COPYRIGHT_FILE}" DESTINATION ${DATORA_DOC_DIR} COMPONENT licence)
install(FILES "${DATORA_CHANGELOG}.gz" DESTINATION ${DATORA_DOC_DIR}
        COMPONENT changelog EXCLUDE_FROM_ALL)
install(FILES "${DATORA_COPYRIGHT_FILE}" DESTINATION ${DATORA_DOC_DIR}
        COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES "${DATORA_LINTIAN_OVERRIDE}"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT deb EXCLUDE_FROM_ALL)

# The components of each package, as CPACK_INSTALL_CMAKE_PROJECTS lists them.
set(unnamed "${PROJECT_BINARY_DIR};Datora;Unspecified;/")
set(CPACK_DATORA_INSTALL_DEB
    "${unnamed};${PROJECT_BINARY_DIR};Datora;changelog;/;${PROJECT_BINARY_DIR};Datora;deb;/")
set(CPACK_DATORA_INSTALL_RPM
    "${unnamed};${PROJECT_BINARY_DIR};Datora;licence;/;${PROJECT_BINARY_DIR};Datora;changelog;/")
set(CPACK_DATORA_INSTALL_ARCHIVE "${unnamed};${PROJECT_BINARY_DIR};Datora;licence;/")
