# Run by CPack once the files are staged (and stripped): signs datora.exe in
# the staging folder with osslsigncode when a certificate is given. The
# signing time is SOURCE_DATE_EPOCH (the environment's, else the last
# commit's), so that the same certificate and sources give the same bytes.
if(NOT CPACK_DATORA_SIGN_CERT)
  return()
endif()
if(NOT CPACK_DATORA_SIGN_KEY)
  message(FATAL_ERROR "DATORA_SIGN_CERT is set but DATORA_SIGN_KEY is empty")
endif()
find_program(DATORA_OSSLSIGNCODE osslsigncode)
if(NOT DATORA_OSSLSIGNCODE)
  message(FATAL_ERROR "signing datora.exe needs osslsigncode")
endif()

file(GLOB_RECURSE executables "${CPACK_TEMPORARY_DIRECTORY}/datora.exe")
if(NOT executables)
  message(FATAL_ERROR "no datora.exe in ${CPACK_TEMPORARY_DIRECTORY}")
endif()
set(signing_time)
# package_per_generator.cmake has put the last commit's time there unless
# the caller set one.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(signing_time -time "$ENV{SOURCE_DATE_EPOCH}")
endif()
foreach(exe IN LISTS executables)
  execute_process(
    COMMAND "${DATORA_OSSLSIGNCODE}" sign -certs "${CPACK_DATORA_SIGN_CERT}"
            -key "${CPACK_DATORA_SIGN_KEY}" -h sha256 -n Datora ${signing_time}
            -in "${exe}" -out "${exe}.signed"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "osslsigncode could not sign ${exe}:\n${output}")
  endif()
  file(RENAME "${exe}.signed" "${exe}")
  file(CHMOD "${exe}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
