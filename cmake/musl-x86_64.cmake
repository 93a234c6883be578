# The x86_64 Linux release build (clang, libc++'s headers, musl).
set(DATORA_MUSL_PROCESSOR x86_64)
set(DATORA_KERNEL_INCLUDE /usr/include)
set(DATORA_KERNEL_ASM_INCLUDE /usr/include/x86_64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
