# The 64-bit Windows build (mingw-w64).
set(DATORA_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
