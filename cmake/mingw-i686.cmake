# Cross build of the 32-bit Windows module with MinGW-w64 (posix threads variant:
# the win32 variant lacks std::mutex, which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()

# SSE2 doubles instead of the x87's extended precision, so that the geometry
# gives the same bits as the 64-bit Linux build.
#
# -mstackrealign: every function that needs more realigns the stack itself.
# The host may call the module with the stack aligned to 4 bytes only, as the
# platform's 32-bit ABI promises no more, while g++ assumes 16 and keeps SSE
# values there with aligned moves, which fault at an address off by 4. MinGW
# g++ turns it on by itself once SSE is in use; stated here so that it does
# not hang on that default.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
