# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX
# threads flavour, which C++ threads and <mutex> need). Test programs run
# through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LIRVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LIRVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LIRVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LIRVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LIRVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime goes into each executable, so that Wine finds no missing
# libgcc, libstdc++ or winpthread DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Debian's wine64 package has the loader but not always the "wine" launcher.
find_program(LIRVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(LIRVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LIRVANE_WINE})
endif()
