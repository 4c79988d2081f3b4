# The library as a WebAssembly module for JavaScript hosts: kxcalc.wasm, a standalone module
# (no JavaScript glue of Emscripten's: js/src/instantiate.js is the host's side). It exports
# kx_calc, the allocator a host needs to hand it a buffer (malloc, free), its memory, and
# _initialize, which runs the module's constructors. The load hook is the same constructor
# as on Linux (tables/load_hooks.cpp): it sits in the init array that _initialize runs, so
# every new instance starts with fresh tables: tol 1e-10 and no variables. There is no
# unload: an instance's tables go with the instance.
add_executable(kxcalc tables/load_hooks.cpp)
target_link_libraries(kxcalc PRIVATE kxcalc_objects)
set_target_properties(kxcalc PROPERTIES SUFFIX ".wasm")
target_link_options(kxcalc PRIVATE
  -sSTANDALONE_WASM=1
  --no-entry
  "-sEXPORTED_FUNCTIONS=_kx_calc,_malloc,_free"
  -sALLOW_MEMORY_GROWTH=1
  -sFILESYSTEM=0)

# libc++ 13 (Emscripten 3.1.6) lacks std::bit_cast and the floating-point to_chars and
# from_chars: libcxx13_support.h, included ahead of every source file, declares them, and
# double_charconv.cpp supplies the conversions over {fmt} (writing) and fast_float
# (reading), both header-only (Debian: libfmt-dev, libfast-float-dev).
find_path(KXCALC_FMT_INCLUDE_DIR fmt/format.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(KXCALC_FAST_FLOAT_INCLUDE_DIR fast_float/fast_float.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
# The host's include folder also holds its C library's headers, which must not be seen
# ahead of Emscripten's: the two libraries' folders are linked into a folder of their own.
set(KXCALC_WASM_LIBRARY_HEADERS ${CMAKE_CURRENT_BINARY_DIR}/wasm_library_headers)
file(MAKE_DIRECTORY ${KXCALC_WASM_LIBRARY_HEADERS})
file(CREATE_LINK ${KXCALC_FMT_INCLUDE_DIR}/fmt ${KXCALC_WASM_LIBRARY_HEADERS}/fmt SYMBOLIC)
file(CREATE_LINK ${KXCALC_FAST_FLOAT_INCLUDE_DIR}/fast_float ${KXCALC_WASM_LIBRARY_HEADERS}/fast_float SYMBOLIC)
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/wasm/double_charconv.cpp PROPERTIES
  INCLUDE_DIRECTORIES ${KXCALC_WASM_LIBRARY_HEADERS})
target_sources(kxcalc_objects PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/wasm/double_charconv.cpp)
target_compile_options(kxcalc_objects PUBLIC
  "SHELL:-include ${CMAKE_CURRENT_SOURCE_DIR}/wasm/libcxx13_support.h")
