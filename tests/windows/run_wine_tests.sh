#!/usr/bin/env bash
# Builds kxcalc.dll for 64-bit and 32-bit Windows with MinGW-w64 and checks it:
#   - both DLLs export kx_calc alone and import only system DLLs (objdump -p);
#   - under Wine, dll_test loads the 64-bit DLL, runs the golden cases, starts and joins a
#     thread, frees and reloads the DLL (tests/windows/dll_test.cpp);
#   - every line of cross_corpus.txt gives the same text from the DLL under Wine as from
#     the Linux build's command-line host.
# Installs the cross compilers and Wine with apt-get when they are missing.
#
#   tests/windows/run_wine_tests.sh [LINUX-KXCALC-HOST]
# The host defaults to build/tools/kxcalc/kxcalc, the README's build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linuxHost=${1:-$root/build/tools/kxcalc/kxcalc}
jobs=2  # the machine's cores are shared

installMissing() {
    local packages=()
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || packages+=(g++-mingw-w64-x86-64-posix)
    command -v i686-w64-mingw32-g++-posix >/dev/null || packages+=(g++-mingw-w64-i686-posix)
    command -v wine >/dev/null || packages+=(wine64)
    ((${#packages[@]} == 0)) && return
    echo "installing ${packages[*]}"
    local log
    log=$(mktemp)
    if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}"; } >"$log" 2>&1; then
        cat "$log"
        return 1
    fi
    rm -f "$log"
}

# Configures and builds one target in build-windows-ARCH; tests of the GoogleTest suite and
# the command-line host are Linux-side only.
crossBuild() {
    local arch=$1
    shift
    cmake -S "$root" -B "$root/build-windows-$arch" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
        -DKXCALC_BUILD_TESTS=OFF -DKXCALC_BUILD_TOOLS=OFF -DKXCALC_BUILD_DLL_TEST=ON "$@" >/dev/null
    cmake --build "$root/build-windows-$arch" -j"$jobs" >/dev/null
}

installMissing
crossBuild x86_64
crossBuild i686 -DKXCALC_RUN_DLL_TEST=OFF  # runs only where 32-bit Wine is installed

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/kxcalc-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all
cleanUp() {
    wineserver -w >/dev/null 2>&1 || true  # this prefix's server ends a few seconds after its last program
    rm -rf "$WINEPREFIX"
}
trap cleanUp EXIT

echo "== 32-bit DLL: export and import tables"
ctest --test-dir "$root/build-windows-i686" --output-on-failure --no-tests=error
echo "== 64-bit DLL: tables, and dll_test under Wine"
ctest --test-dir "$root/build-windows-x86_64" --output-on-failure --no-tests=error

echo "== loader notifications delivered to kxcalc.dll during dll_test (Wine's relay trace)"
expectedNotifications="PROCESS_ATTACH THREAD_ATTACH THREAD_DETACH PROCESS_DETACH PROCESS_ATTACH PROCESS_DETACH"
notifications=$(WINEDEBUG=+relay wine "$root/build-windows-x86_64/tests/windows/dll_test.exe" \
        "$root/build-windows-x86_64/src/kxcalc.dll" 2>&1 >/dev/null |
    grep -a 'Call PE DLL' | grep -a 'kxcalc.dll' | sed -n 's/.*reason=\([A-Z_]*\).*/\1/p' | tr '\n' ' ' || true)
echo "$notifications"
if [[ ${notifications% } != "$expectedNotifications" ]]; then
    echo "expected: $expectedNotifications"
    exit 1
fi

echo "== cross-system corpus"
corpus=$root/tests/windows/cross_corpus.txt
if [[ ! -x $linuxHost ]]; then
    echo "no Linux host at $linuxHost: build it first (the README's build)" >&2
    exit 1
fi
linuxTexts=$(mktemp)
windowsTexts=$(mktemp)
"$linuxHost" <"$corpus" >"$linuxTexts" || true  # exit status 1 means some line gave a message
wine "$root/build-windows-x86_64/tests/windows/dll_test.exe" --lines \
    "$root/build-windows-x86_64/src/kxcalc.dll" <"$corpus" >"$windowsTexts" 2>/dev/null
lines=$(wc -l <"$corpus")
if (($(wc -l <"$windowsTexts") != lines || $(wc -l <"$linuxTexts") != lines)); then
    echo "a build printed too few lines: Linux $(wc -l <"$linuxTexts"), Windows $(wc -l <"$windowsTexts") of $lines"
    exit 1
fi
# Lines whose texts differ, as "line<TAB>Linux text<TAB>Windows text" (no tab in the corpus).
differences=$(paste -d '\t' "$corpus" "$linuxTexts" "$windowsTexts" | awk -F '\t' '$2 != $3')
rm -f "$linuxTexts" "$windowsTexts"
# Differences that are understood are listed in known_differences.txt; every other one fails.
known=$root/tests/windows/known_differences.txt
splitDifferences() {  # $1: 1 for the listed differences, 0 for the others
    awk -F '\t' -v listed="$1" 'NR == FNR { if ($0 != "" && $0 !~ /^#/) isKnown[$0] = 1; next }
                                 (($1 in isKnown) ? 1 : 0) == listed' "$known" - <<<"$differences"
}
knownDifferences=$(splitDifferences 1)
newDifferences=$(splitDifferences 0)
count() { [[ -z $1 ]] && echo 0 || wc -l <<<"$1"; }
if [[ -n $knownDifferences ]]; then
    echo "known differences (line | Linux | Windows), listed in known_differences.txt:"
    sed 's/\t/ | /g' <<<"$knownDifferences"
fi
if [[ -n $newDifferences ]]; then
    echo "new differences (line | Linux | Windows):"
    sed 's/\t/ | /g' <<<"$newDifferences"
    echo "(once understood, a line may be added to known_differences.txt with its reason)"
fi
failed=$(count "$newDifferences")
echo "corpus: $(count "$knownDifferences") known differences"
echo "corpus: $((lines - $(count "$differences"))) passed, $failed failed"
((failed == 0))
