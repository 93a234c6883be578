# Hardening of the Linux build, and the link that goes with it.
#
# The binary stays statically linked, because start-up cost is what the tool
# is judged by, but it is a static-pie: position-independent, so the kernel
# loads it at a random address, and it relocates itself before main without
# a dynamic loader. On top come the stack protector,
# stack clash protection, control-flow protection and read-only relocations
# bound at start; fortified libc calls only where the C library has them
# (glibc, not musl).
#
# Included for the Linux builds but the sanitizer build. Adds the compile
# options and sets DATORA_STATIC_LINK_FLAGS, the link options of the
# executable.

# Control-flow protection differs per architecture: Intel CET on x86,
# pointer authentication and branch target identification on arm64.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86)$")
  set(DATORA_BRANCH_PROTECTION -fcf-protection)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  set(DATORA_BRANCH_PROTECTION -mbranch-protection=standard)
else()
  message(FATAL_ERROR "No control-flow protection flag known for ${CMAKE_SYSTEM_PROCESSOR}")
endif()

# _FORTIFY_SOURCE=3 checks sizes known only at run time; it needs
# __builtin_dynamic_object_size (GCC 12, clang 9). Older compilers get 2.
# musl's headers have no fortified functions: there the macro would change
# nothing, so the musl build goes without it.
include(CheckCXXSourceCompiles)
set(DATORA_FORTIFY)
if(DATORA_LIBC STREQUAL "glibc")
  check_cxx_source_compiles(
  "int main(int argc, char**) { char b[4]; return __builtin_dynamic_object_size(b + argc, 0) == 0; }"
    DATORA_HAVE_FORTIFY_3)
  if(DATORA_HAVE_FORTIFY_3)
    set(DATORA_FORTIFY -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3)
  else()
    set(DATORA_FORTIFY -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
  endif()
endif()

# Debian 12's clang 14 ignores -fstack-clash-protection for arm64 (it warns
# that the argument is unused and emits no probes; GCC 12 does emit them),
# so it is passed only where the compiler takes it.
set(CMAKE_REQUIRED_FLAGS -fstack-clash-protection)
check_cxx_source_compiles("int main() { return 0; }" DATORA_HAVE_STACK_CLASH_PROTECTION
                          FAIL_REGEX "argument unused during compilation")
unset(CMAKE_REQUIRED_FLAGS)
set(DATORA_STACK_CLASH)
if(DATORA_HAVE_STACK_CLASH_PROTECTION)
  set(DATORA_STACK_CLASH -fstack-clash-protection)
endif()
add_compile_options(-fPIE -fstack-protector-strong ${DATORA_STACK_CLASH}
  ${DATORA_BRANCH_PROTECTION} ${DATORA_FORTIFY})
set(DATORA_STATIC_LINK_FLAGS -static-pie -Wl,-z,relro,-z,now,-z,noexecstack)

# The binary relocates its own pointers before main, about a thousand of
# them, most in libc's tables. Packed relative relocations (DT_RELR) cut
# that work by a quarter; a static-pie reads them from glibc 2.36 on (and
# from musl 1.2.4, newer than Debian 12's, so the musl build goes without).
# A linker that cannot pack them only warns that it ignores the option
# (Debian 12's arm64 linker), so that warning counts as a failure here.
set(CMAKE_REQUIRED_LINK_OPTIONS -static-pie -Wl,-z,pack-relative-relocs)
check_cxx_source_compiles("int main() { return 0; }" DATORA_HAVE_PACKED_RELOCATIONS
                          FAIL_REGEX "ignored")
unset(CMAKE_REQUIRED_LINK_OPTIONS)
check_cxx_source_compiles("#include <features.h>
#if !defined(__GLIBC_PREREQ) || !__GLIBC_PREREQ(2, 36)
#error static-pie start-up without DT_RELR
#endif
int main() { return 0; }" DATORA_HAVE_GLIBC_RELR)
if(DATORA_HAVE_PACKED_RELOCATIONS AND DATORA_HAVE_GLIBC_RELR)
  list(APPEND DATORA_STATIC_LINK_FLAGS -Wl,-z,pack-relative-relocs)
endif()
