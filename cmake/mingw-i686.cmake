# Cross-compiling for 32-bit Windows with the POSIX-thread mingw-w64 compilers
# (std::thread and GoogleTest need them).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(SPINDREL_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/deps/i686-w64-mingw32" CACHE PATH "cross-built libraries")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 "${SPINDREL_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
