# What the MinGW-w64 toolchain files share; they set KXCALC_MINGW_TRIPLET before including
# this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KXCALC_MINGW_TRIPLET})

# The posix flavour of the compilers: its libstdc++ has std::thread and std::mutex.
find_program(CMAKE_C_COMPILER NAMES ${KXCALC_MINGW_TRIPLET}-gcc-posix ${KXCALC_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KXCALC_MINGW_TRIPLET}-g++-posix ${KXCALC_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KXCALC_MINGW_TRIPLET}-windres)
find_program(CMAKE_OBJDUMP NAMES ${KXCALC_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${KXCALC_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows programs built here run under Wine when it is installed (64-bit ones with wine64).
find_program(KXCALC_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(KXCALC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KXCALC_WINE})
endif()
