# Cross-compiling for 32-bit (x86) Windows with Debian's mingw-w64 (POSIX
# thread model). This is the build that ships: Microsoft Map, the Office
# versions that embed its maps and the map packages' installers are 32-bit
# programs, and a 32-bit program runs on 32-bit and 64-bit Windows alike.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(ATRYBUTY_WIDL      ${TOOLCHAIN_PREFIX}-widl)
# The type library's stdole2.tlb and the IDL's target.
set(ATRYBUTY_WIDL_FLAGS -L/usr/lib/i386-linux-gnu/wine/i386-windows -m32 --win32)
set(ATRYBUTY_OBJDUMP    ${TOOLCHAIN_PREFIX}-objdump)
set(ATRYBUTY_MANIFEST_ARCH x86)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Our EXEs must need only the DLLs that Windows itself ships. Large-address
# awareness lets the 32-bit server use up to 4 GB on 64-bit Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--large-address-aware")
