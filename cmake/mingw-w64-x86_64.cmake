# Cross-builds for 64-bit Windows with Debian's mingw-w64 compilers.
#
# The posix flavour of the compilers is the one whose libstdc++ has
# std::thread and std::jthread, which tessel-cli's ticker needs. Everything
# is linked statically (libgcc, libstdc++, winpthreads), so tessel-cli.exe
# runs on its own, with no DLLs beside it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
