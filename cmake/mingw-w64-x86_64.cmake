# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread
# variant: std::thread and std::mutex need winpthread, which the win32 variant lacks in GCC 12).
# Used by the Windows pass of the test command (scripts/windows_pass.sh) and for the libraries
# it needs (scripts/windows_deps.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TALVERS_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TALVERS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVERS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVERS_MINGW_TRIPLE}-windres)

# Headers and libraries of the target only (zlib, the ODBC import library); programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TALVERS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The target's pkg-config: the host's would hand over host libraries without complaint.
set(PKG_CONFIG_EXECUTABLE ${TALVERS_MINGW_TRIPLE}-pkg-config CACHE FILEPATH "")
# find_package(ZLIB) would pick libz.dll.a, which needs zlib1.dll at run time.
set(ZLIB_USE_STATIC_LIBS ON)

# Every .exe and .dll carries its runtime (libgcc, libstdc++, winpthread), so Wine needs no
# WINEPATH and the Windows program ships no compiler DLLs; -static is what also covers
# winpthread. The libraries of scripts/windows_deps.sh (Qt's DLLs and plug-ins) are linked so too.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine: CTest and gtest_discover_tests put this before every test program.
# Debian's wine64 package keeps its loader out of PATH.
find_program(TALVERS_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TALVERS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALVERS_WINE})
endif()
