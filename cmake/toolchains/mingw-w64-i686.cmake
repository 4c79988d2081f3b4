# Cross build of the 32-bit Windows DLL with MinGW-w64 (Debian: g++-mingw-w64-i686-posix).
#   cmake -S . -B build-windows-i686 \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake
set(KXCALC_MINGW_TRIPLET i686-w64-mingw32)
# x87 arithmetic would round intermediate results to 64-bit mantissas and give other
# last digits than the 64-bit build: do double arithmetic in SSE2 registers instead.
set(KXCALC_MINGW_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
