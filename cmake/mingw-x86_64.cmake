# The same program as 64-bit Windows code, for testing under Wine on machines that
# cannot run 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(OSTREL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
