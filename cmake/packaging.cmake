# What `cmake --install` puts where, and the packages CPack makes of it:
# a .deb for the Linux build, a .zip for the Windows build.
include(GNUInstallDirs)
set(DATORA_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/datora)

set(DATORA_README "${PROJECT_SOURCE_DIR}/README.md")

if(WIN32)
  # A flat folder: datora.exe beside its read-me and licence.
  install(TARGETS datora RUNTIME DESTINATION .)
  install(FILES "${DATORA_README}" DESTINATION . RENAME README.md)
  install(FILES LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  include(${CMAKE_CURRENT_LIST_DIR}/signing.cmake)
else()
  install(TARGETS datora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES docs/datora.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES completion/datora.bash
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
          RENAME datora)
  install(FILES LICENSE DESTINATION ${DATORA_DOC_DIR} RENAME copyright)
  install(FILES "${DATORA_README}" DESTINATION ${DATORA_DOC_DIR} RENAME README.md)
  set(CPACK_GENERATOR DEB)
endif()

set(CPACK_PACKAGE_NAME datora)
set(CPACK_PACKAGE_VENDOR "The Datora developers")
set(CPACK_PACKAGE_CONTACT "The Datora developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

# The binary is linked statically: the package depends on nothing.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION
    "Datora answers through its exit code whether the creation, modification or\n\
access time of a file or directory lies before, after or at the same moment\n\
as a stamp of another file, a day relative to today, or a moment relative to\n\
now.")

include(CPack)
