# Cross build for 32-bit Windows with Debian's MinGW-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Link the C++, GCC and threading runtimes into the executables, so a program needs nothing
# on Windows beyond the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Double arithmetic in SSE2, as on x86-64: the x87 unit's 80-bit intermediates would round
# differently, and a number read on one system must be the same number on the other. The
# conversions' extended steps are written as long double, which stays the x87 80-bit type.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
