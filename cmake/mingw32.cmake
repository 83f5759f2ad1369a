# Cross-compiles for 32-bit Windows with the i686-w64-mingw32 toolchain: the
# shipped program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The shipped program starts no thread of its own, so its compiler takes the
# win32 thread model and links no POSIX thread library; the end-to-end tools
# use std::thread, which this compiler offers with the posix model only.
set(CORVELLA_MINGW_THREADS win32 CACHE STRING "Thread model of the cross compiler: win32 or posix")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CORVELLA_MINGW_THREADS)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${CORVELLA_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${CORVELLA_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The exe must need no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release builds ship without symbols.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
