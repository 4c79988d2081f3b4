#!/usr/bin/env bash
# Builds the release with tools/release.sh and checks each artefact in build-release/ as its
# user meets it:
#   - SHA256SUMS matches every file;
#   - the source tarball unpacks and passes the README's test command;
#   - the Debian package installs with apt, and the installed kxcalc answers 1+1 with 2;
#   - the npm tarball installs offline into a scratch project and calculates in Node;
#   - the wheel installs into a fresh virtual environment and calculates;
#   - each Windows zip holds the DLL, the header, the import libraries and the license, and a
#     C host builds against its header and links with each import library.
# A Debian package that this check installs is removed again at its end.
#
#   tests/packaging/check_release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build-release
version=$(sed -n 's/^project(kxcalc VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
work=$(mktemp -d)
debInstalled=
cleanUp() {
    if [[ -n $debInstalled ]]; then dpkg -P kxcalc >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanUp EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "== tools/release.sh"
bash "$root/tools/release.sh"

echo "== SHA256SUMS"
(cd "$out" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS"
listed=$(cd "$out" && awk '{print $2}' SHA256SUMS | sort | tr '\n' ' ')
present=$(cd "$out" && ls | grep -vx SHA256SUMS | sort | tr '\n' ' ')
[[ $listed == "$present" ]] || fail "SHA256SUMS lists [$listed], the folder holds [$present]"

echo "== the source tarball: the README's test command"
tar -xzf "$out/kxcalc-$version-src.tar.gz" -C "$work"
if ! (cd "$work/kxcalc-$version" &&
      cmake -S . -B build > "$work/source.log" 2>&1 && cmake --build build -j2 >> "$work/source.log" 2>&1 &&
      ctest --test-dir build --output-on-failure >> "$work/source.log" 2>&1); then
    tail -n 60 "$work/source.log"
    fail "the source tarball does not pass the README's test command"
fi
grep -E 'tests passed|tests failed' "$work/source.log" || true
rm -rf "$work/kxcalc-$version"

echo "== the Debian package: apt install, kxcalc '1+1'"
deb=$(ls "$out"/kxcalc_"$version"_*.deb)
if [[ "$(dpkg-query -W -f='${db:Status-Status}' kxcalc 2>/dev/null)" == installed ]]; then
    fail "a kxcalc package is installed already; the check installs its own"
else
    debInstalled=yes
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >/dev/null ||
        fail "apt install $deb"
    [[ "$(/usr/bin/kxcalc '1+1')" == 2 ]] || fail "the installed kxcalc '1+1' does not print 2"
    [[ "$(/usr/bin/kxcalc --version)" == "kxcalc $version" ]] || fail "the installed kxcalc --version"
    [[ -f /usr/share/doc/kxcalc/copyright ]] || fail "no /usr/share/doc/kxcalc/copyright"
    [[ "$(pkg-config --modversion kxcalc 2>/dev/null)" == "$version" ]] || fail "pkg-config --modversion kxcalc"
    dpkg -P kxcalc >/dev/null && debInstalled=
fi

echo "== the npm package: offline install into a scratch project"
project=$work/npm-project
mkdir -p "$project"
echo '{ "name": "scratch", "private": true, "type": "module" }' > "$project/package.json"
(cd "$project" && npm install --offline --no-audit --no-fund --loglevel=error "$out/kxcalc-$version.tgz" >/dev/null) ||
    fail "npm install --offline kxcalc-$version.tgz"
cat > "$project/use.mjs" <<'SCRIPT'
import { readFileSync } from 'node:fs';
import { createCalculator } from 'kxcalc';
const calc = await createCalculator();
const manifest = JSON.parse(readFileSync('node_modules/kxcalc/package.json', 'utf8'));
console.log(calc.calc('1+1'), manifest.version, manifest.license);
SCRIPT
[[ "$(cd "$project" && node use.mjs)" == "2 $version MIT" ]] || fail "the npm package in Node"
[[ -f $project/node_modules/kxcalc/LICENSE ]] || fail "the npm package carries no LICENSE"

echo "== the wheel: a fresh virtual environment"
/usr/bin/python3 -m venv "$work/venv"
"$work/venv/bin/pip" install -q --no-index --no-deps "$out"/kxcalc-"$version"-*.whl || fail "pip install the wheel"
got=$(cd "$work" && "$work/venv/bin/python" -c 'import kxcalc; print(kxcalc.calc("1+1"), kxcalc.__version__)') || true
[[ $got == "2 $version" ]] || fail "the installed wheel printed [$got]"
"$work/venv/bin/python" -c 'import importlib.metadata as m; d = m.distribution("kxcalc");
assert d.metadata["License"] == "MIT", d.metadata["License"]
assert any(f.name == "LICENSE" for f in d.files)' || fail "the wheel's license metadata"
tar -tzf "$out/kxcalc-$version.tar.gz" | grep -x "kxcalc-$version/LICENSE" >/dev/null || fail "the sdist carries no LICENSE"

echo "== the Windows zips"
for arch in x86_64 i686; do
    name=kxcalc-$version-windows-$arch
    files=$(unzip -Z1 "$out/$name.zip" | grep -v '/$' | sort | tr '\n' ' ')
    expected="$name/LICENSE $name/bin/kxcalc.dll $name/include/kx_calc.h $name/lib/kxcalc.def $name/lib/kxcalc.lib $name/lib/libkxcalc.dll.a "
    [[ $files == "$expected" ]] || fail "$name.zip holds [$files]"
    unzip -p "$out/$name.zip" "$name/bin/kxcalc.dll" > "$work/kxcalc.dll"
    exports=$("$arch-w64-mingw32-objdump" -p "$work/kxcalc.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
              awk 'NR > 1 && NF {print $NF}')
    [[ $exports == kx_calc ]] || fail "$name: kxcalc.dll exports [$exports]"
    # A C host compiles against the zip's header and links with each import library.
    unzip -q -o "$out/$name.zip" -d "$work/zips"
    IFS=. read -r major minor patch <<< "$version"
    for importLibrary in libkxcalc.dll.a kxcalc.lib; do
        "$arch-w64-mingw32-gcc" -std=c99 -Wall -Werror -DPROJECT_VERSION="\"$version\"" \
            -DPROJECT_VERSION_MAJOR="$major" -DPROJECT_VERSION_MINOR="$minor" -DPROJECT_VERSION_PATCH="$patch" \
            -I"$work/zips/$name/include" "$root/tests/library/c_consumer.c" "$work/zips/$name/lib/$importLibrary" \
            -o "$work/consumer-$arch.exe" || fail "$name: a C host does not build with $importLibrary"
    done
done

if ((failures > 0)); then echo "release: $failures failed"; exit 1; fi
echo "release: every artefact checked"
(cd "$out" && ls -l -- *)
