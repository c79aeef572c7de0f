# Cross-compiles for 32-bit Windows with Debian's mingw-w64 (the release executable).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

# The posix thread model, whose C++ library has std::mutex (GoogleTest needs it); the
# static link puts winpthread inside the executable.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: the compiler's runtime is linked in, so that it imports
# nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under 32-bit Wine, in a win32 prefix of this build tree's own so that a
# test run never touches the user's ~/.wine, and with a wine server apart from the x86_64
# build's. Where the 32-bit loader cannot start (no wine32, or a kernel that runs no 32-bit
# programs) there is no emulator: the test programs are built but not run.
set(AVO_WINE32 /usr/lib/wine/wine CACHE FILEPATH "The 32-bit Wine loader")
execute_process(COMMAND ${AVO_WINE32} --version RESULT_VARIABLE wine32_status
                OUTPUT_QUIET ERROR_QUIET)
if(wine32_status EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /usr/bin/env "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" WINEARCH=win32 WINEDEBUG=-all
      ${AVO_WINE32})
endif()
