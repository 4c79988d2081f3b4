# Cross build for 32-bit ARM, hard float (armhf) Linux
# (Debian: crossbuild-essential-armhf), run under qemu-arm.
#   cmake -S . -B build-linux-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-armhf.cmake \
#     -DKXCALC_GTEST_SOURCE_DIR=/usr/src/googletest
set(KXCALC_LINUX_TRIPLET arm-linux-gnueabihf)
set(KXCALC_LINUX_PROCESSOR armv7l)
set(KXCALC_QEMU_ARCH arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
