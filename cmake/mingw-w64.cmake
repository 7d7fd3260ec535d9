# The Windows programs, cross-built with Debian's MinGW-w64 compiler (the posix threads
# variant, which std::thread needs):
#   scripts/install-deps --windows
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#   cmake --build build-win -j2
# The tests run under Wine: ctest runs every Windows program through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing to ship beside the program: the C++ library, libgcc and winpthreads are linked
# in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

find_program(GENCAMPI_WINE wine)
if(GENCAMPI_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GENCAMPI_WINE})
endif()
