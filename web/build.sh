#!/usr/bin/env bash
# Builds the calculator page into build-web/: the page, its scripts (the plot's worker among
# them) and style, and the package's kxcalc.js and kxcalc.wasm beside them. Serve that folder with any static
# server, e.g. python3 -m http.server -d build-web -b 127.0.0.1 8000
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/js/build_wasm.sh"
out=$root/build-web
mkdir -p "$out"
cp "$root"/web/index.html "$root"/web/*.js "$root"/web/calculator.css "$out/"
cp "$root/js/kxcalc.js" "$root/js/kxcalc.wasm" "$out/"
echo "$out"
