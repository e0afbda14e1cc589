# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers (the POSIX thread
# variant, which std::thread needs).
#
# The libraries come from the prefix tools/windows/deps.sh builds: pass it as
#   -DQRV_WINDOWS_DEPS_PREFIX=<prefix>   (or set the environment variable of that name)
# `tools/windows/deps.sh --prefix` prints it. Libraries Debian ships for mingw-w64 (zlib,
# libgcrypt, libgpg-error) are found in the compiler's own folder, /usr/x86_64-w64-mingw32.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QRV_MINGW_TRIPLET x86_64-w64-mingw32)
set(QRV_MINGW_SYSROOT /usr/${QRV_MINGW_TRIPLET})
set(CMAKE_C_COMPILER ${QRV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QRV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QRV_MINGW_TRIPLET}-windres)

if(NOT QRV_WINDOWS_DEPS_PREFIX AND DEFINED ENV{QRV_WINDOWS_DEPS_PREFIX})
  set(QRV_WINDOWS_DEPS_PREFIX "$ENV{QRV_WINDOWS_DEPS_PREFIX}")
endif()
if(NOT QRV_WINDOWS_DEPS_PREFIX)
  message(FATAL_ERROR "Set QRV_WINDOWS_DEPS_PREFIX to the prefix tools/windows/deps.sh built "
                      "(tools/windows/deps.sh --prefix prints it)")
endif()
# The checks CMake runs in scratch projects read this file again: hand the prefix on, to
# scratch builds (try_compile) and to CMake runs of their own (check_language).
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QRV_WINDOWS_DEPS_PREFIX)
set(ENV{QRV_WINDOWS_DEPS_PREFIX} "${QRV_WINDOWS_DEPS_PREFIX}")

# Headers, libraries and packages only from the prefix and the compiler's folder; programs
# (nasm, pkg-config, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH "${QRV_WINDOWS_DEPS_PREFIX}" ${QRV_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the Windows libraries' files, and gives what a static link needs.
set(ENV{PKG_CONFIG_LIBDIR}
    "${QRV_WINDOWS_DEPS_PREFIX}/lib/pkgconfig:${QRV_MINGW_SYSROOT}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --static)

# Programs built here run under Wine (test discovery, try_run).
find_program(QRV_WINE wine)
if(QRV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QRV_WINE})
endif()
