# Cross build of the 32-bit Windows DLL with MinGW-w64 (Debian: g++-mingw-w64-i686-posix).
#   cmake -S . -B build-windows-i686 \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake
# Its double arithmetic is done in SSE2 registers: kxcalc_build_flags in CMakeLists.txt sets
# that for every 32-bit x86 target.
set(KXCALC_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
