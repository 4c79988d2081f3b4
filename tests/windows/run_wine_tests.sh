#!/usr/bin/env bash
# Builds kxcalc.dll for 64-bit and 32-bit Windows with MinGW-w64 and checks each under Wine:
#   - the DLL exports kx_calc alone and imports only system DLLs (objdump -p);
#   - dll_test loads the DLL, runs every golden group, starts and joins a thread, frees the
#     DLL, sees with GetModuleHandle that the module is gone, and reloads it
#     (tests/windows/dll_test.cpp); Wine's relay trace shows the loader's notifications;
#   - every line of cross_corpus.txt gives the same text from the DLL as from the Linux
#     build's command-line host.
# Installs the cross compilers and Wine with apt-get when they are missing; the 32-bit Wine
# (Debian's wine32) needs the i386 architecture, which is added for it. Each architecture
# runs in a Wine prefix of its own, made afresh under its build folder (WINEARCH win64 or
# win32): a prefix made by one Wine does not load the other's programs.
#
# The corpus texts are left in build-cross-texts/, one file per platform, for
# tests/windows/cross_platform_summary.sh, whose summary line ends the run.
#
#   tests/windows/run_wine_tests.sh [LINUX-KXCALC-HOST]
# The host defaults to build/tools/kxcalc/kxcalc, the README's build.
# Exit status: 0 when both DLLs pass; 1 when a check fails; 2 when everything that ran
# passed but the 32-bit DLL could not be run because 32-bit Wine cannot be installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linuxHost=${1:-$root/build/tools/kxcalc/kxcalc}
textsDirectory=$root/build-cross-texts
corpus=$root/tests/windows/cross_corpus.txt
jobs=2  # the machine's cores are shared

# Runs apt-get update and apt-get install with the given packages, quietly unless it fails.
aptInstall() {
    local log
    log=$(mktemp)
    if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@"; } >"$log" 2>&1; then
        tail -n 20 "$log"
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
}

installMissing() {
    local packages=()
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || packages+=(g++-mingw-w64-x86-64-posix)
    command -v i686-w64-mingw32-g++-posix >/dev/null || packages+=(g++-mingw-w64-i686-posix)
    [[ -x /usr/lib/wine/wine64 ]] || packages+=(wine64)
    ((${#packages[@]} == 0)) && return
    echo "installing ${packages[*]}"
    aptInstall "${packages[@]}"
}

# 32-bit Wine: succeeds when it is installed or could be installed.
installWine32() {
    [[ -x /usr/lib/wine/wine ]] && return 0
    echo "installing wine32 (adding the i386 architecture)"
    if ! dpkg --print-foreign-architectures | grep -qx i386 && ! dpkg --add-architecture i386; then
        return 1
    fi
    aptInstall wine32:i386 && [[ -x /usr/lib/wine/wine ]]
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

# A fresh Wine prefix for one architecture, made before the tests so that its first start
# (which takes a while) is not counted against a test's time. Wine's Mono and Gecko
# installers are not wanted here.
makeWinePrefix() {
    local arch=$1
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree=;mshtml=" WINEARCH=$([[ $arch == i686 ]] && echo win32 || echo win64) \
        timeout 600 wineboot --init >/dev/null 2>&1
    wineserver -w
}

# The loader's notifications to kxcalc.dll during one dll_test run, from Wine's relay trace.
checkNotifications() {
    local build=$1
    local expected="PROCESS_ATTACH THREAD_ATTACH THREAD_DETACH PROCESS_DETACH PROCESS_ATTACH PROCESS_DETACH"
    local notifications
    notifications=$(WINEDEBUG=+relay timeout 600 wine "$build/tests/windows/dll_test.exe" "$build/src/kxcalc.dll" 2>&1 >/dev/null |
        grep -a 'Call PE DLL' | grep -a 'kxcalc.dll' | sed -n 's/.*reason=\([A-Z_]*\).*/\1/p' | tr '\n' ' ' || true)
    echo "$notifications"
    if [[ ${notifications% } != "$expected" ]]; then
        echo "expected: $expected"
        return 1
    fi
}

# Lines whose texts differ from the Linux build's, as "line<TAB>Linux text<TAB>Windows
# text" (no tab in the corpus); the differences listed in known_differences.txt are
# printed apart, every other one fails.
compareWithLinux() {
    local platform=$1 texts=$2
    local lines differences known knownDifferences newDifferences
    lines=$(wc -l <"$corpus")
    if (($(wc -l <"$texts") != lines)); then
        echo "$platform printed $(wc -l <"$texts") lines of $lines"
        return 1
    fi
    differences=$(paste -d '\t' "$corpus" "$textsDirectory/x86-64 Linux.txt" "$texts" | awk -F '\t' '$2 != $3')
    known=$root/tests/windows/known_differences.txt
    splitDifferences() {  # $1: 1 for the listed differences, 0 for the others
        awk -F '\t' -v listed="$1" 'NR == FNR { if ($0 != "" && $0 !~ /^#/) isKnown[$0] = 1; next }
                                     (($1 in isKnown) ? 1 : 0) == listed' "$known" - <<<"$differences"
    }
    knownDifferences=$(splitDifferences 1)
    newDifferences=$(splitDifferences 0)
    count() { [[ -z $1 ]] && echo 0 || wc -l <<<"$1"; }
    if [[ -n $knownDifferences ]]; then
        echo "known differences (line | Linux | $platform), listed in known_differences.txt:"
        sed 's/\t/ | /g' <<<"$knownDifferences"
    fi
    if [[ -n $newDifferences ]]; then
        echo "new differences (line | Linux | $platform):"
        sed 's/\t/ | /g' <<<"$newDifferences"
        echo "(once understood, a line may be added to known_differences.txt with its reason)"
    fi
    echo "corpus on $platform: $(count "$knownDifferences") known differences," \
        "$((lines - $(count "$differences"))) passed, $(count "$newDifferences") failed"
    [[ -z $newDifferences ]]
}

# Everything for one DLL: its ctest (tables and dll_test), the notifications, the corpus.
checkDll() {
    local arch=$1 platform=$2
    local build=$root/build-windows-$arch
    export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all
    echo "== $platform: a fresh Wine prefix ($([[ $arch == i686 ]] && echo win32 || echo win64))"
    makeWinePrefix "$arch"
    echo "== $platform: export and import tables, and dll_test under Wine"
    ctest --test-dir "$build" --output-on-failure --no-tests=error
    echo "== $platform: loader notifications delivered to kxcalc.dll during dll_test (Wine's relay trace)"
    checkNotifications "$build"
    echo "== $platform: cross-system corpus"
    timeout 600 wine "$build/tests/windows/dll_test.exe" --lines "$build/src/kxcalc.dll" \
        <"$corpus" >"$textsDirectory/$platform.txt" 2>/dev/null
    compareWithLinux "$platform" "$textsDirectory/$platform.txt"
    wineserver -w  # this prefix's server ends a few seconds after its last program
}

installMissing
wine32Available=true
if ! installWine32; then
    wine32Available=false
    echo "32-bit Wine (Debian's wine32, i386 architecture) cannot be installed here:" \
        "the 32-bit DLL is built and its tables checked, but it is NOT run"
fi
crossBuild x86_64
crossBuild i686 -DKXCALC_RUN_DLL_TEST=$([[ $wine32Available == true ]] && echo ON || echo OFF)

if [[ ! -x $linuxHost ]]; then
    echo "no Linux host at $linuxHost: build it first (the README's build)" >&2
    exit 1
fi
mkdir -p "$textsDirectory"
rm -f "$textsDirectory/x86-64 Windows.txt" "$textsDirectory/i686 Windows.txt"
"$linuxHost" <"$corpus" >"$textsDirectory/x86-64 Linux.txt" || true  # status 1: some line gave a message

checkDll x86_64 "x86-64 Windows"
if [[ $wine32Available == true ]]; then
    checkDll i686 "i686 Windows"
else
    echo "== i686 Windows: export and import tables only"
    ctest --test-dir "$root/build-windows-i686" --output-on-failure --no-tests=error
fi

echo "== the same texts on every platform"
bash "$root/tests/windows/cross_platform_summary.sh" "$textsDirectory"
if [[ $wine32Available != true ]]; then
    echo "i686 Windows: NOT EVALUATED (no 32-bit Wine); the 64-bit results above stand"
    exit 2
fi
