# Windows x86 (32-bit) cross build with mingw-w64. Build only: this machine's
# kernel cannot execute 32-bit code, so nothing of it runs here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRINDLOCK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
