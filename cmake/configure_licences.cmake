# The copyright file of the Linux packages (the .deb, the .rpm and the
# .tar.gz): Datora's licence and the notice of what else the static binary
# holds (packaging/runtime-<libc>.txt), and the .deb's lintian override,
# which names the C library's version. Sets DATORA_COPYRIGHT_FILE and
# DATORA_LINTIAN_OVERRIDE.

# The version of musl whose library the build links: Debian's musl has no
# version macro, its package knows.
function(datora_musl_version result debian_architecture)
  execute_process(COMMAND dpkg-query -W -f=\${Version} musl-dev:${debian_architecture}
                  OUTPUT_VARIABLE version ERROR_QUIET)
  string(REGEX REPLACE "-[^-]*$" "" version "${version}")
  set(${result} "musl ${version}" PARENT_SCOPE)
endfunction()

# The version of glibc whose headers the compiler reads.
function(datora_glibc_version result)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -E -dM -x c++ -include features.h /dev/null
                  OUTPUT_VARIABLE macros ERROR_QUIET)
  string(REGEX MATCH "__GLIBC__ ([0-9]+)" _ "${macros}")
  set(major "${CMAKE_MATCH_1}")
  string(REGEX MATCH "__GLIBC_MINOR__ ([0-9]+)" _ "${macros}")
  set(${result} "glibc ${major}.${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

if(DATORA_LIBC STREQUAL "musl")
  datora_musl_version(DATORA_LIBC_VERSION ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
else()
  datora_glibc_version(DATORA_LIBC_VERSION)
endif()

file(READ LICENSE DATORA_LICENSE_TEXT)
string(STRIP "${DATORA_LICENSE_TEXT}" DATORA_LICENSE_TEXT)
file(READ packaging/runtime-${DATORA_LIBC}.txt DATORA_RUNTIME_NOTICE)
string(STRIP "${DATORA_RUNTIME_NOTICE}" DATORA_RUNTIME_NOTICE)
set(DATORA_COPYRIGHT_FILE "${DATORA_PACKAGE_FILES}/copyright")
configure_file(packaging/copyright.in "${DATORA_COPYRIGHT_FILE}" @ONLY)
set(DATORA_LINTIAN_OVERRIDE "${DATORA_PACKAGE_FILES}/datora")
configure_file(packaging/lintian-overrides.in "${DATORA_LINTIAN_OVERRIDE}" @ONLY)
