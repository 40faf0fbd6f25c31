# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, so that std::thread and std::mutex work). OSTVANE_THIRD_PARTY is the
# prefix where scripts/build-windows.sh installs the static libraries that
# Debian does not package for mingw.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_SYSTEM_VERSION 6.1)  # Windows 7

set(OSTVANE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OSTVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTVANE_MINGW_TRIPLET}-windres)

if(NOT OSTVANE_THIRD_PARTY AND DEFINED ENV{OSTVANE_THIRD_PARTY})
  set(OSTVANE_THIRD_PARTY $ENV{OSTVANE_THIRD_PARTY})
endif()
# try_compile projects read this file again; hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OSTVANE_THIRD_PARTY)

set(CMAKE_FIND_ROOT_PATH ${OSTVANE_THIRD_PARTY} /usr/${OSTVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static libraries only: the program is one file with nothing beside it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)

# pkg-config answers for the Windows libraries only, with their private
# dependencies, as static linking needs.
set(ENV{PKG_CONFIG_LIBDIR} ${OSTVANE_THIRD_PARTY}/lib/pkgconfig:/usr/${OSTVANE_MINGW_TRIPLET}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static)

# The C and C++ runtimes and the thread library go into the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and the test discovery at build time) run under Wine.
find_program(OSTVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(OSTVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTVANE_WINE})
endif()
