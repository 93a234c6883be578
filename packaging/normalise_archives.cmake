# Run by CPack once it has made the packages (CPACK_POST_BUILD_SCRIPTS):
# rewrites the archives in a fixed order with fixed times and owners.
execute_process(
  COMMAND "${CPACK_DATORA_PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/normalise_archive.py"
          "${CPACK_DATORA_SOURCE_DATE_EPOCH}" ${CPACK_PACKAGE_FILES}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "normalise_archive.py failed on ${CPACK_PACKAGE_FILES}")
endif()
