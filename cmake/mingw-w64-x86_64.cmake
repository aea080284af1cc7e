# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (POSIX thread
# model). Not what ships (see mingw-w64-i686.cmake): this build gives the
# tests a 64-bit host, as 64-bit Office is one, and the benchmarks a 64-bit
# server to compare the shipped 32-bit one with.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(ATRYBUTY_WIDL      ${TOOLCHAIN_PREFIX}-widl)
set(ATRYBUTY_WIDL_FLAGS -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows -m64 --win64)
set(ATRYBUTY_OBJDUMP    ${TOOLCHAIN_PREFIX}-objdump)
set(ATRYBUTY_MANIFEST_ARCH amd64)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Our EXEs must need only the DLLs that Windows itself ships.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
