# Cross build for 64-bit RISC-V (riscv64) Linux
# (Debian: g++-riscv64-linux-gnu), run under qemu-riscv64.
#   cmake -S . -B build-linux-riscv64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-riscv64.cmake \
#     -DKXCALC_GTEST_SOURCE_DIR=/usr/src/googletest
set(KXCALC_LINUX_TRIPLET riscv64-linux-gnu)
set(KXCALC_LINUX_PROCESSOR riscv64)
set(KXCALC_QEMU_ARCH riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
