# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads),
# run under Wine: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# With the mingw-w64 Qt of scripts/windows-qt.sh, chain-loaded by that Qt's
# own toolchain file (see scripts/windows-build.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVO_MINGW_PREFIX}-windres)

# Appended, not set: Qt's toolchain file adds its own prefix here too.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TALVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Qt a static runtime: the Wine prefix needs no MinGW DLLs. The Qt
# program shares the runtime DLLs its Qt was built with, so that one C++
# runtime serves the process.
if(DEFINED TALVO_WITH_QT AND NOT TALVO_WITH_QT)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

# Tests and discovery run the .exe files through Wine.
find_program(TALVO_WINE NAMES wine wine64)
if(TALVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALVO_WINE})
endif()
