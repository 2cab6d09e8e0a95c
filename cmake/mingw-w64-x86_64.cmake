# Cross-builds Vald2600 for 64-bit Windows with Debian's mingw-w64 toolchain
# (g++-mingw-w64-x86-64-posix, libz-mingw-w64-dev, libgcrypt-mingw-w64-dev):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Programs are linked statically (C and C++ runtimes, winpthread, zlib,
# libgcrypt with libgpg-error), so
# the one .exe runs on a Windows machine with nothing installed. Test
# programs built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ZLIB_USE_STATIC_LIBS ON)
# -O2 as the Linux build uses (GCC 12 at -O3 warns falsely about std::string
# copies); -s keeps the program small.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s")

# Test discovery and ctest start the built programs through Wine (only the
# test suite needs it; the program alone builds without).
find_program(VALD_WINE wine)
if(VALD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VALD_WINE})
endif()
