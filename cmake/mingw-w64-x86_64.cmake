# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix, whose
# POSIX thread model gives std::thread and std::mutex). Programs run here under wine,
# which CTest uses as the emulator. Used by the mingw preset (platform/ and its tests only).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The GCC runtime linked in, so a program runs from any folder without its DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(MEDREC_WINE wine)
if(MEDREC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MEDREC_WINE})
endif()
