# Cross build for 64-bit ARM (arm64) Linux
# (Debian: crossbuild-essential-arm64), run under qemu-aarch64.
#   cmake -S . -B build-linux-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-aarch64.cmake \
#     -DKXCALC_GTEST_SOURCE_DIR=/usr/src/googletest
set(KXCALC_LINUX_TRIPLET aarch64-linux-gnu)
set(KXCALC_LINUX_PROCESSOR aarch64)
set(KXCALC_QEMU_ARCH aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
