# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads),
# run under Wine: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the Wine prefix needs no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and discovery run the .exe files through Wine.
find_program(TALVO_WINE NAMES wine wine64)
if(TALVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALVO_WINE})
endif()
