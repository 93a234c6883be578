# What the packages say of themselves: name, version, summary, description,
# architecture and file name, the changelog, and what keeps their bytes the
# same from one build of a commit to the next.
set(CPACK_PACKAGE_NAME datora)
set(CPACK_PACKAGE_VENDOR "The Datora developers")
set(CPACK_PACKAGE_CONTACT "${DATORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${DATORA_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION
    "Datora answers through its exit code whether the creation, modification or\n\
access time of a file or directory lies before, after or at the same moment\n\
as a stamp of another file, a day relative to today, or a moment relative to\n\
now.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/package_per_generator.cmake")
set(CPACK_DATORA_SOURCE_DATE_EPOCH "${DATORA_SOURCE_DATE_EPOCH}")
# The archives in a fixed member order with fixed times and owners.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND AND DATORA_SOURCE_DATE_EPOCH)
  set(CPACK_DATORA_PYTHON "${Python3_EXECUTABLE}")
  set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/normalise_archives.cmake")
endif()

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  include(${CMAKE_CURRENT_LIST_DIR}/configure_signing.cmake)
  return()
endif()

# Each format's own name for the target's architecture (CPack would ask the
# build machine's tools, which name the build machine's); the .tar.gz says
# arm64 as well, x86_64 as before.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  set(CPACK_RPM_PACKAGE_ARCHITECTURE aarch64)
  set(CPACK_SYSTEM_NAME linux-arm64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_RPM_PACKAGE_ARCHITECTURE x86_64)
  set(CPACK_SYSTEM_NAME linux-x86_64)
else()
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
endif()

# The release notes (packaging/changelog.in), in Debian's form.
set(DATORA_CHANGELOG "${DATORA_PACKAGE_FILES}/changelog")
configure_file(packaging/changelog.in "${DATORA_CHANGELOG}" @ONLY)

# The binary is linked statically: the .deb depends on nothing.
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DATORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The .rpm, made of the musl release builds, which run on any Linux.
if(DATORA_LIBC STREQUAL "musl")
  include(${CMAKE_CURRENT_LIST_DIR}/configure_rpm_metadata.cmake)
endif()
