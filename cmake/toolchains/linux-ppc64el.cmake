# Cross build for 64-bit little-endian POWER (ppc64el) Linux
# (Debian: crossbuild-essential-ppc64el), run under qemu-ppc64le.
#   cmake -S . -B build-linux-ppc64el -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-ppc64el.cmake \
#     -DKXCALC_GTEST_SOURCE_DIR=/usr/src/googletest
set(KXCALC_LINUX_TRIPLET powerpc64le-linux-gnu)
set(KXCALC_LINUX_PROCESSOR ppc64le)
set(KXCALC_QEMU_ARCH ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
