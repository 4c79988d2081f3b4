# Build of the WebAssembly module with Emscripten (Debian: emscripten).
#   cmake --preset wasm && cmake --build --preset wasm
# or
#   cmake -S . -B build-wasm -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/emscripten-wasm32.cmake \
#     -DKXCALC_BUILD_TESTS=OFF -DKXCALC_BUILD_TOOLS=OFF
# The library's sources are compiled as they are; src/CMakeLists.txt links them into an ES
# module (kxcalc.mjs and kxcalc.wasm) instead of a shared library.
find_program(KXCALC_EMCC emcc REQUIRED)
# emcc is a link to the Emscripten tree, which also holds its CMake platform file.
get_filename_component(KXCALC_EMCC_REAL "${KXCALC_EMCC}" REALPATH)
get_filename_component(KXCALC_EMSCRIPTEN_ROOT "${KXCALC_EMCC_REAL}" DIRECTORY)
find_file(KXCALC_EMSCRIPTEN_PLATFORM Emscripten.cmake
  PATHS "${KXCALC_EMSCRIPTEN_ROOT}/cmake/Modules/Platform" /usr/share/emscripten/cmake/Modules/Platform
  NO_DEFAULT_PATH REQUIRED)
include("${KXCALC_EMSCRIPTEN_PLATFORM}")

# emcc runs its JavaScript optimiser under node, which must find the acorn parser. Debian
# installs it (node-acorn) under /usr/share/nodejs, where a node from elsewhere does not look.
if(IS_DIRECTORY /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
