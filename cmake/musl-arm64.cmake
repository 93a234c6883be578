# The arm64 Linux release build (clang, libc++'s headers, musl), with the
# kernel headers of Debian's arm64 cross toolchain. The tests run the
# binary under qemu-user (see CMAKE_CROSSCOMPILING_EMULATOR).
set(DATORA_MUSL_PROCESSOR aarch64)
set(DATORA_KERNEL_INCLUDE /usr/aarch64-linux-gnu/include)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)
