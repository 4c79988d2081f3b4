#!/usr/bin/env bash
# Every JavaScript test: builds the WebAssembly module, the package and the page, and runs
# the Node tests (the cross-system corpus against the Linux host, the package's interface,
# the packed tarball installed offline) and the page's test in headless Chromium. Installs
# emscripten, the header-only {fmt} and fast_float that the module's number conversions
# come from, chromium (apt) and the npm dev dependencies when they are missing.
#
#   js/run_tests.sh [LINUX-KXCALC-HOST]   the host defaults to build/tools/kxcalc/kxcalc
# Each step has a time bound.
set -euo pipefail
package=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$package")
host=${1:-$root/build/tools/kxcalc/kxcalc}
export KXCALC_HOST=$(realpath -- "$host")  # the tests run from the package folder

missing=()
command -v emcc >/dev/null || missing+=(emscripten)
[[ -f /usr/include/fmt/format.h ]] || missing+=(libfmt-dev)
[[ -f /usr/include/fast_float/fast_float.h ]] || missing+=(libfast-float-dev)
[[ -x /usr/bin/chromium ]] || missing+=(chromium)
command -v node >/dev/null || missing+=(nodejs npm)
if ((${#missing[@]} > 0)); then
    echo "installing ${missing[*]}"
    log=$(mktemp)
    if ! { timeout 600 apt-get update -qq &&
           DEBIAN_FRONTEND=noninteractive timeout 900 apt-get install -y -qq "${missing[@]}"; } >"$log" 2>&1; then
        cat "$log"
        exit 1
    fi
    rm -f "$log"
fi
if [[ ! -x $KXCALC_HOST ]]; then
    echo "no Linux host at $KXCALC_HOST: build it first (the README's build)" >&2
    exit 1
fi

echo "== npm dev dependencies (from package-lock.json)"
(cd "$package" && timeout 300 npm ci --no-audit --no-fund --loglevel=error)

echo "== WebAssembly module and page"
timeout 900 bash "$root/web/build.sh" >/dev/null

echo "== Node tests and the page in Chromium"
cd "$package"
KXCALC_LARGE_TESTS=${KXCALC_LARGE_TESTS:-1} timeout 600 node --test --test-concurrency=1 test/
