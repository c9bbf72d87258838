# The part both MinGW-w64 toolchain files share; ZOLT_MINGW_TRIPLE names the
# target. The executables are linked statically (the C and C++ runtimes
# included), so zolt.exe needs no DLL besides the system's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZOLT_MINGW_TRIPLE})

# The engine starts no threads, so the win32-thread variant serves (and needs
# no winpthread library); the plain name is whichever variant is selected.
find_program(ZOLT_MINGW_CXX NAMES ${ZOLT_MINGW_TRIPLE}-g++-win32 ${ZOLT_MINGW_TRIPLE}-g++)
if(NOT ZOLT_MINGW_CXX)
  message(FATAL_ERROR "${ZOLT_MINGW_TRIPLE}-g++ not found: apt-get install g++-mingw-w64-x86-64 g++-mingw-w64-i686")
endif()
set(CMAKE_CXX_COMPILER ${ZOLT_MINGW_CXX})
find_program(CMAKE_RC_COMPILER NAMES ${ZOLT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZOLT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
