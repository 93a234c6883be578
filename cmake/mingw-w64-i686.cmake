# The 32-bit Windows build (mingw-w64).
set(DATORA_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
