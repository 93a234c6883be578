# What `cmake --install` puts where, and the packages CPack makes of it:
# a .deb and a .tar.gz for the Linux build, a .zip for the Windows build.
include(GNUInstallDirs)
set(DATORA_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/datora)
# Folders the install makes get these modes whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(DATORA_README "${PROJECT_SOURCE_DIR}/README.md")

# The project's address: the .deb's Maintainer field and its changelog.
set(DATORA_MAINTAINER "Datora developers <dev@datora.invalid>"
    CACHE STRING "Name and e-mail address of the package maintainer")

# Time stamps inside the packages and datora.exe: the last commit's time, so
# that two builds of one commit give the same bytes. A SOURCE_DATE_EPOCH set by the
# caller (a build from an unpacked source archive) wins.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(DATORA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                  OUTPUT_VARIABLE DATORA_SOURCE_DATE_EPOCH
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()

if(WIN32)
  # A flat folder: datora.exe beside its read-me and licence.
  install(TARGETS datora RUNTIME DESTINATION .)
  install(FILES "${DATORA_README}" DESTINATION . RENAME README.md)
  install(FILES LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  include(${CMAKE_CURRENT_LIST_DIR}/signing.cmake)
  # The linker writes SOURCE_DATE_EPOCH, not the time of the link, into the
  # executable's header.
  if(DATORA_SOURCE_DATE_EPOCH)
    set_property(TARGET datora PROPERTY LINKER_LAUNCHER
                 ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${DATORA_SOURCE_DATE_EPOCH})
  endif()
else()
  # The manual page goes out compressed, without name or time in the header.
  set(DATORA_MAN_PAGE "${PROJECT_BINARY_DIR}/datora.1")
  add_custom_command(OUTPUT "${DATORA_MAN_PAGE}.gz"
    COMMAND ${CMAKE_COMMAND} -E copy "${PROJECT_SOURCE_DIR}/docs/datora.1" "${DATORA_MAN_PAGE}"
    COMMAND gzip -9nf "${DATORA_MAN_PAGE}"
    DEPENDS docs/datora.1 VERBATIM)
  add_custom_target(datora_man_page ALL DEPENDS "${DATORA_MAN_PAGE}.gz")

  install(TARGETS datora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES "${DATORA_MAN_PAGE}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES completion/datora.bash
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
          RENAME datora)
  install(FILES "${DATORA_README}" DESTINATION ${DATORA_DOC_DIR} RENAME README.md)

  # The .tar.gz (and a plain install) carry the licence as it is and the
  # copyright file with the notices of what the binary holds; the .deb
  # carries the copyright file, changelog and lintian override.
  install(FILES LICENSE DESTINATION ${DATORA_DOC_DIR} COMPONENT licence)
  file(READ LICENSE DATORA_LICENSE_TEXT)
  string(STRIP "${DATORA_LICENSE_TEXT}" DATORA_LICENSE_TEXT)
  # Debian's name for the architecture, which the .deb must carry (CPack
  # would ask dpkg, which names the build machine's, not the target's); the
  # .tar.gz says arm64 as well, x86_64 as before.
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
    set(CPACK_SYSTEM_NAME linux-arm64)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
    set(CPACK_SYSTEM_NAME linux-x86_64)
  else()
    set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
  endif()
  # What else the static binary holds, and under which licence.
  file(READ packaging/runtime-${DATORA_LIBC}.txt DATORA_RUNTIME_NOTICE)
  string(STRIP "${DATORA_RUNTIME_NOTICE}" DATORA_RUNTIME_NOTICE)
  if(DATORA_LIBC STREQUAL "musl")
    # Debian's musl has no version macro; its package knows.
    execute_process(COMMAND dpkg-query -W -f=\${Version} musl-dev:${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}
                    OUTPUT_VARIABLE musl_version ERROR_QUIET)
    string(REGEX REPLACE "-[^-]*$" "" musl_version "${musl_version}")
    set(DATORA_LIBC_VERSION "musl ${musl_version}")
  else()
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -E -dM -x c++ -include features.h /dev/null
                    OUTPUT_VARIABLE glibc_macros ERROR_QUIET)
    string(REGEX MATCH "__GLIBC__ ([0-9]+)" _ "${glibc_macros}")
    set(DATORA_LIBC_VERSION "glibc ${CMAKE_MATCH_1}")
    string(REGEX MATCH "__GLIBC_MINOR__ ([0-9]+)" _ "${glibc_macros}")
    string(APPEND DATORA_LIBC_VERSION ".${CMAKE_MATCH_1}")
  endif()
  set(deb "${PROJECT_BINARY_DIR}/deb")
  configure_file(packaging/copyright.in "${deb}/copyright" @ONLY)
  configure_file(packaging/lintian-overrides.in "${deb}/datora" @ONLY)
  configure_file(packaging/changelog.in "${deb}/changelog" @ONLY)
  add_custom_command(OUTPUT "${deb}/changelog.gz"
    COMMAND gzip -9nkf "${deb}/changelog"
    DEPENDS "${deb}/changelog" VERBATIM)
  add_custom_target(datora_changelog ALL DEPENDS "${deb}/changelog.gz")
  install(FILES "${deb}/copyright" "${deb}/changelog.gz" DESTINATION ${DATORA_DOC_DIR}
          COMPONENT deb EXCLUDE_FROM_ALL)
  install(FILES "${deb}/copyright" DESTINATION ${DATORA_DOC_DIR} COMPONENT licence)
  install(FILES "${deb}/datora" DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
          COMPONENT deb EXCLUDE_FROM_ALL)

  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DATORA_MAINTAINER}")
  # The components each package is made of; read by CPack per generator.
  set(CPACK_DATORA_INSTALL_DEB
      "${PROJECT_BINARY_DIR};Datora;Unspecified;/;${PROJECT_BINARY_DIR};Datora;deb;/")
  set(CPACK_DATORA_INSTALL_ARCHIVE
      "${PROJECT_BINARY_DIR};Datora;Unspecified;/;${PROJECT_BINARY_DIR};Datora;licence;/")
  # Only compiler version strings, which lintian asks to leave out.
  add_custom_command(TARGET datora POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:datora> VERBATIM)
endif()

set(CPACK_PACKAGE_NAME datora)
set(CPACK_PACKAGE_VENDOR "The Datora developers")
set(CPACK_PACKAGE_CONTACT "${DATORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/cpack_options.cmake")
set(CPACK_DATORA_SOURCE_DATE_EPOCH "${DATORA_SOURCE_DATE_EPOCH}")
# The archives in a fixed member order with fixed times and owners.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND AND DATORA_SOURCE_DATE_EPOCH)
  set(CPACK_DATORA_PYTHON "${Python3_EXECUTABLE}")
  set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/normalise_archives.cmake")
endif()

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
