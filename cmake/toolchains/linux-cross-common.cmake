# What the Linux cross toolchain files share (Debian's cross compilers, the C library and
# libstdc++ of the target under /usr/TRIPLET). Each file sets KXCALC_LINUX_TRIPLET,
# KXCALC_LINUX_PROCESSOR and KXCALC_QEMU_ARCH before including this one.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${KXCALC_LINUX_PROCESSOR})

find_program(CMAKE_C_COMPILER NAMES ${KXCALC_LINUX_TRIPLET}-gcc-12 ${KXCALC_LINUX_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KXCALC_LINUX_TRIPLET}-g++-12 ${KXCALC_LINUX_TRIPLET}-g++ REQUIRED)

# Libraries, headers and packages of the target only: the build machine's readline or
# GoogleTest would not link. The host is built without readline, and the tests build
# GoogleTest from its sources (-DKXCALC_GTEST_SOURCE_DIR=/usr/src/googletest).
set(CMAKE_FIND_ROOT_PATH /usr/${KXCALC_LINUX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The target's programs run under qemu-user with the target's loader and libraries found
# under /usr/TRIPLET (-L), so nothing depends on binfmt_misc being set up on the machine.
find_program(KXCALC_QEMU NAMES qemu-${KXCALC_QEMU_ARCH} qemu-${KXCALC_QEMU_ARCH}-static)
if(KXCALC_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KXCALC_QEMU} -L /usr/${KXCALC_LINUX_TRIPLET})
endif()
