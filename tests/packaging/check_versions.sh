#!/usr/bin/env bash
# The places that carry the project's version or its license by hand agree with
# CMakeLists.txt and with LICENSE: the npm package and its lock file, and the copies of the
# license that the npm and Python packages ship. (The header's macros are checked where a C
# host compiles against them, the manual page by its own test; the rest take the version
# from CMake or from CMakeLists.txt when they are built.)
# Usage: check_versions.sh SOURCE_DIR VERSION
set -uo pipefail
source=$1 version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

packageVersion() {
    python3 -c 'import json, sys; p = json.load(open(sys.argv[1])); print(p["version"], p.get("packages", {}).get("", p)["version"])' "$1"
}
for file in js/package.json js/package-lock.json; do
    [[ "$(packageVersion "$source/$file")" == "$version $version" ]] || fail "$file does not carry version $version"
done
for copy in js/LICENSE python/LICENSE; do
    cmp -s "$source/LICENSE" "$source/$copy" || fail "$copy differs from LICENSE"
done
if ((failures > 0)); then echo "$failures failed"; exit 1; fi
echo "versions and licenses: all agree with $version"
