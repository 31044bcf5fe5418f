# 32-bit desktop Windows, where handles and pointers are 32 bits wide as on the
# handheld: the deliverables are built with it to keep them so (build only,
# since this machine can't run 32-bit programs).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
