# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers (posix-threads variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GLOUTO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GLOUTO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLOUTO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${GLOUTO_MINGW_TRIPLET}-windres)

# Look for libraries and headers in the target's tree only; programs come from the build host.
set(CMAKE_FIND_ROOT_PATH /usr/${GLOUTO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the compiler's runtimes and winpthreads are linked in, so it needs no
# DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
