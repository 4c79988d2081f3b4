# Cross build for 64-bit big-endian IBM Z (s390x) Linux
# (Debian: crossbuild-essential-s390x), run under qemu-s390x.
#   cmake -S . -B build-linux-s390x -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-s390x.cmake \
#     -DKXCALC_GTEST_SOURCE_DIR=/usr/src/googletest
set(KXCALC_LINUX_TRIPLET s390x-linux-gnu)
set(KXCALC_LINUX_PROCESSOR s390x)
set(KXCALC_QEMU_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
