# Read by CPack for each package it makes (CPACK_PROJECT_CONFIG_FILE).

# Which install components go into which package.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_DATORA_INSTALL_DEB}")
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_DATORA_INSTALL_ARCHIVE}")
endif()

# Every time stamp in the packages is the last commit's time.
if(CPACK_DATORA_SOURCE_DATE_EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} "${CPACK_DATORA_SOURCE_DATE_EPOCH}")
endif()
