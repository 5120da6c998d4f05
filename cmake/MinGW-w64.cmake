# Cross-compiles the Windows program with Debian's MinGW-w64 (the posix thread
# model, g++-mingw-w64-x86-64-posix): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake.
# Everything is linked statically (-static), so the program and the test
# binaries need no MinGW DLL beside them: libstdc++, libgcc and winpthread
# go inside, and only system DLLs are imported.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARK_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW sysroot only; programs (the host's
# tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Only -static drops libwinpthread-1.dll as well; -static-libstdc++ and
# -static-libgcc alone leave it imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
