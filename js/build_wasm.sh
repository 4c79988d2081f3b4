#!/usr/bin/env bash
# Builds the WebAssembly module with Emscripten (the wasm preset, in build-wasm/) and puts
# kxcalc.wasm into the package beside kxcalc.js.
set -euo pipefail
package=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$package")
cd "$root"
cmake --preset wasm >/dev/null
cmake --build --preset wasm >/dev/null
cp build-wasm/src/kxcalc.wasm "$package/kxcalc.wasm"
