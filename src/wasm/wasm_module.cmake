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
# from_chars: the support unit supplies them, included ahead of every source file.
target_sources(kxcalc_objects PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/wasm/libcxx13_support.cpp)
target_compile_options(kxcalc_objects PUBLIC
  "SHELL:-include ${CMAKE_CURRENT_SOURCE_DIR}/wasm/libcxx13_support.h")
