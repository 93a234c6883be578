# What `cmake --install` puts where, and the packages CPack makes of it: a
# .deb and a .tar.gz of a Linux build, an .rpm as well of the musl release
# builds, a .zip of a Windows build. One file per concern, read in this
# order:
#   configure_package_metadata.cmake  what the packages say of themselves:
#       names, versions, architectures, descriptions, changelogs
#       (configure_rpm_metadata.cmake: the .rpm's own part;
#       configure_signing.cmake: the .zip's optional signature)
#   configure_licences.cmake  the copyright file of the Linux packages: the
#       licence and the notice of the linked C library
#   install_files.cmake  which file goes where, in which install component
# CPack reads package_per_generator.cmake for each package it makes, and
# runs sign_datora_exe.cmake before it packs the .zip.

# The project's addresses: the packages' Maintainer or Packager field and
# the changelogs; their Homepage or URL field.
set(DATORA_MAINTAINER "Datora developers <dev@datora.invalid>"
    CACHE STRING "Name and e-mail address of the package maintainer")
set(DATORA_HOMEPAGE "https://datora.invalid/" CACHE STRING "The project's web address")

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
# The linker writes SOURCE_DATE_EPOCH, not the time of the link, into
# datora.exe's header.
if(WIN32 AND DATORA_SOURCE_DATE_EPOCH)
  set_property(TARGET datora PROPERTY LINKER_LAUNCHER
               ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${DATORA_SOURCE_DATE_EPOCH})
endif()

# Files made for the packages at configure and build time.
set(DATORA_PACKAGE_FILES "${PROJECT_BINARY_DIR}/packaging")

include(${CMAKE_CURRENT_LIST_DIR}/configure_package_metadata.cmake)
if(NOT WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/configure_licences.cmake)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/install_files.cmake)
include(CPack)
