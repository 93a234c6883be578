# The version is written once, in the project() call of CMakeLists.txt.
# This file hands it to the code as generated/datora_version.h in the build
# tree (DATORA_GENERATED_DIR). The fuzz targets' project has no version of
# its own and reads the product's from that call.
get_filename_component(datora_project_file "${CMAKE_CURRENT_LIST_DIR}/../CMakeLists.txt" ABSOLUTE)
if(NOT Datora_VERSION)
  file(STRINGS "${datora_project_file}" datora_project REGEX "^project\\(Datora VERSION ")
  if(NOT datora_project MATCHES "VERSION ([0-9.]+)[ )]")
    message(FATAL_ERROR "No project(Datora VERSION ...) in ${datora_project_file}")
  endif()
  set(Datora_VERSION "${CMAKE_MATCH_1}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${datora_project_file}")
endif()

set(DATORA_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/datora_version.h.in"
               "${DATORA_GENERATED_DIR}/datora_version.h" @ONLY)
