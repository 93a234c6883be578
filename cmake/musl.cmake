# Builds the Linux release binary for the processor that the including
# toolchain file sets in DATORA_MUSL_PROCESSOR (x86_64 or aarch64), with
# clang, lld and musl's static-pie start files. musl's start-up is a few
# hundred instructions where glibc's static start-up takes tens of thousands
# (self-relocation, CPU probing, tunables, malloc set-up).
#
# C++ comes from libc++'s headers only: no libc++ library is linked. With
# _LIBCPP_DISABLE_EXTERN_TEMPLATE the headers instantiate what the code uses
# instead of expecting it from the library; operator new and delete come
# from platform/lean_runtime.cpp. Where libc++ 14 would throw (a string
# longer than max_size()) it calls abort(); an allocation that fails first
# ends the run with 255 as in the glibc build.
#
# The kernel's own headers (linux/stat.h for statx) come from the build
# machine's kernel headers for the same processor, behind musl's, through a
# folder that links only linux/, asm/ and asm-generic/: no header of
# another C library can be picked up by mistake.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${DATORA_MUSL_PROCESSOR})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${DATORA_MUSL_PROCESSOR}-linux-musl)
set(CMAKE_OBJCOPY llvm-objcopy CACHE FILEPATH "")
set(CMAKE_STRIP llvm-strip CACHE FILEPATH "")

# Read by the project: which C library and C++ runtime hooks to build for.
set(DATORA_LIBC musl)
set(DATORA_CXX_LIBRARY libcxx)

set(DATORA_LIBCXX_INCLUDE /usr/lib/llvm-14/include/c++/v1)
set(DATORA_MUSL_INCLUDE /usr/include/${DATORA_MUSL_PROCESSOR}-linux-musl)
set(DATORA_MUSL_LIB /usr/lib/${DATORA_MUSL_PROCESSOR}-linux-musl)

if(NOT DATORA_KERNEL_ASM_INCLUDE)
  set(DATORA_KERNEL_ASM_INCLUDE ${DATORA_KERNEL_INCLUDE})
endif()
set(kernel_headers ${CMAKE_BINARY_DIR}/kernel-headers)
file(MAKE_DIRECTORY ${kernel_headers})
file(CREATE_LINK ${DATORA_KERNEL_INCLUDE}/linux ${kernel_headers}/linux SYMBOLIC)
file(CREATE_LINK ${DATORA_KERNEL_INCLUDE}/asm-generic ${kernel_headers}/asm-generic SYMBOLIC)
file(CREATE_LINK ${DATORA_KERNEL_ASM_INCLUDE}/asm ${kernel_headers}/asm SYMBOLIC)

set(CMAKE_CXX_FLAGS_INIT "-nostdlibinc -nostdinc++ -isystem ${DATORA_LIBCXX_INCLUDE} \
-isystem ${DATORA_MUSL_INCLUDE} -idirafter ${kernel_headers} -D_LIBCPP_DISABLE_EXTERN_TEMPLATE \
-fno-exceptions -fno-rtti")
# The link sees the compile flags as well; the include flags mean nothing there.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -nostdlib -Wno-unused-command-line-argument")
# musl's start files and C library around the objects; no compiler runtime
# library (the link needs none, and fails if that changes).
set(CMAKE_CXX_LINK_EXECUTABLE "<CMAKE_CXX_COMPILER> <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> \
${DATORA_MUSL_LIB}/rcrt1.o ${DATORA_MUSL_LIB}/crti.o <OBJECTS> -o <TARGET> <LINK_LIBRARIES> \
${DATORA_MUSL_LIB}/libc.a ${DATORA_MUSL_LIB}/crtn.o")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
