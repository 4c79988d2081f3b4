#!/usr/bin/env bash
# Builds everything a release publishes into build-release/, from the commit checked out:
#   kxcalc-VERSION-src.tar.gz            the source tree of HEAD (git archive)
#   kxcalc_VERSION_ARCH.deb              the Debian package (cpack, from build-deb/)
#   kxcalc-VERSION.tgz                   the npm package (npm pack, with the wasm module of build-wasm/)
#   kxcalc-VERSION.tar.gz                the Python source distribution
#   kxcalc-VERSION-cpXY-*.whl            the Python wheel, built from that source distribution
#   kxcalc-VERSION-windows-x86_64.zip    kxcalc.dll for 64-bit Windows (build-windows-x86_64/)
#   kxcalc-VERSION-windows-i686.zip      kxcalc.dll for 32-bit Windows (build-windows-i686/)
#   SHA256SUMS                           the checksums of all of them
# The build folders are the README's (build-deb/) and the tests' (build-wasm/, build-windows-*/);
# one that is built already is only brought up to date. The version is the one of project() in CMakeLists.txt.
# Installs the tools it needs with apt-get when they are missing.
#
#   tools/release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=$root/build-release
python=/usr/bin/python3  # Debian's, with Debian's setuptools and wheel
jobs=2

version=$(sed -n 's/^project(kxcalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    echo "note: the working tree differs from HEAD; the source tarball holds HEAD" >&2
fi

installMissing() {
    local missing=()
    command -v dpkg-shlibdeps >/dev/null || missing+=(dpkg-dev)
    command -v zip >/dev/null || missing+=(zip)
    command -v unzip >/dev/null || missing+=(unzip)  # for tests/packaging/check_release.sh
    command -v emcc >/dev/null || missing+=(emscripten)
    [[ -f /usr/include/fmt/format.h ]] || missing+=(libfmt-dev)
    [[ -f /usr/include/fast_float/fast_float.h ]] || missing+=(libfast-float-dev)
    command -v npm >/dev/null || missing+=(nodejs npm)
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
    command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686-posix)
    local package
    for package in python3-dev python3-setuptools python3-wheel python3-pip python3-venv; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    ((${#missing[@]} == 0)) && return
    echo "installing ${missing[*]}"
    apt-get update -qq -o DPkg::Lock::Timeout=300
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "${missing[@]}" >/dev/null
}

sourceTarball() {
    git archive --format=tar.gz --prefix="kxcalc-$version/" -o "$out/kxcalc-$version-src.tar.gz" HEAD
}

# The README's commands for the Debian package.
debianPackage() {
    cmake -S "$root" -B "$root/build-deb" -DCMAKE_INSTALL_PREFIX=/usr -DKXCALC_BUILD_TESTS=OFF >/dev/null
    cmake --build "$root/build-deb" -j"$jobs" >/dev/null
    local packing
    packing=$(mktemp -d)
    (cd "$root/build-deb" && cpack -G DEB -B "$packing" >/dev/null)
    mv "$packing"/kxcalc_"$version"_*.deb "$out/"
    rm -rf "$packing"
}

# npm pack runs the package's prepack script, js/build_wasm.sh, which builds build-wasm/.
npmPackage() {
    (cd "$root/js" && npm pack --silent --pack-destination "$out" >/dev/null)
}

# The wheel is built from the source distribution, so the source distribution is known to build.
pythonPackages() {
    (cd "$root/python" && "$python" setup.py -q sdist -d "$out" 2>/dev/null)
    rm -rf "$root/python/src/kxcalc.egg-info"
    local building
    building=$(mktemp -d)
    tar -xzf "$out/kxcalc-$version.tar.gz" -C "$building"
    "$python" -m pip wheel -q --no-build-isolation --no-deps --no-index -w "$out" "$building/kxcalc-$version" \
        2>&1 | grep -v -e 'is still \*beta\*' -e 'warnings.warn' || true
    rm -rf "$building"
    ls "$out"/kxcalc-"$version"-*.whl >/dev/null
}

# One zip per architecture: the DLL, its header, the import libraries (MinGW's libkxcalc.dll.a,
# and kxcalc.lib with kxcalc.def for other linkers) and the license. The DLL is configured as
# tests/windows/run_wine_tests.sh configures it, so that its build folder serves both.
windowsZip() {
    local arch=$1
    local build=$root/build-windows-$arch
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
        -DKXCALC_BUILD_TESTS=OFF -DKXCALC_BUILD_TOOLS=OFF -DKXCALC_BUILD_DLL_TEST=ON >/dev/null
    cmake --build "$build" -j"$jobs" --target kxcalc >/dev/null
    local name=kxcalc-$version-windows-$arch
    local staging
    staging=$(mktemp -d)
    mkdir -p "$staging/$name/bin" "$staging/$name/include" "$staging/$name/lib"
    "$arch-w64-mingw32-strip" --strip-unneeded -o "$staging/$name/bin/kxcalc.dll" "$build/src/kxcalc.dll"
    cp "$root/include/kx_calc.h" "$staging/$name/include/"
    cp "$build/src/libkxcalc.dll.a" "$staging/$name/lib/"
    printf 'LIBRARY kxcalc.dll\nEXPORTS\n    kx_calc\n' > "$staging/$name/lib/kxcalc.def"
    "$arch-w64-mingw32-dlltool" -d "$staging/$name/lib/kxcalc.def" -D kxcalc.dll -l "$staging/$name/lib/kxcalc.lib"
    cp "$root/LICENSE" "$staging/$name/"
    rm -f "$out/$name.zip"
    (cd "$staging" && zip -qrX "$out/$name.zip" "$name")
    rm -rf "$staging"
}

installMissing
rm -rf "$out"
mkdir -p "$out"
echo "== kxcalc $version: the source tarball";   sourceTarball
echo "== the Debian package";                    debianPackage
echo "== the npm package";                       npmPackage
echo "== the Python source distribution and wheel"; pythonPackages
echo "== the Windows DLLs";                      windowsZip x86_64; windowsZip i686
(cd "$out" && sha256sum -- * > SHA256SUMS)
echo "== $out"
(cd "$out" && ls -l -- *)
