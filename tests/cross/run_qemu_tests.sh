#!/usr/bin/env bash
# Cross-builds the library, the command-line host and the test programs for five Linux
# targets with Debian's cross compilers, and runs them under qemu-user (qemu-ARCH -L
# /usr/TRIPLET, so binfmt_misc need not be set up):
#   aarch64 (arm64), armhf (32-bit ARM, hard float), riscv64, ppc64el, s390x (big-endian).
# On every target:
#   - golden_test, real_test, complex_test, entry_test and eval_test: the golden groups, the
#     reference tables of the real and complex functions, the number format and the number
#     scan; the comparison of the real functions' fast paths with their accurate paths
#     (RealFunctionsSameness, from half a minute to two and a half under qemu) only on the
#     targets of --sameness-targets (armhf);
#   - the cross-system corpus through the host, a filter, its texts left in
#     build-cross-texts/"TARGET Linux.txt" for tests/windows/cross_platform_summary.sh and
#     compared with the x86-64 host's.
# On the targets of --robustness-targets also robustness_test (the hostile-input tables,
# long lines, threads), and on those of --random-targets the lines of
# tests/valgrind/make_lines.py COUNT, once at tol 0 and once at tol -1 (a "set tol" line
# before them and in place of each of their own), compared byte for byte with the x86-64
# host's texts.
#
#   tests/cross/run_qemu_tests.sh [--targets "T ..."] [--sameness-targets "T ..."]
#       [--robustness-targets "T ..."] [--random-targets "T ..."] [--random-lines COUNT]
#       [LINUX-KXCALC-HOST]
# The host defaults to build/tools/kxcalc/kxcalc, the README's build. As root it installs
# the cross compilers, qemu-user and GoogleTest's sources with apt-get when they are missing.
# Each target is built once, in build-linux-TARGET, while the target before it runs its
# tests (qemu runs a program on one core). Exit status 0 when everything passes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
targets="aarch64 armhf riscv64 ppc64el s390x"
samenessTargets="armhf"
robustnessTargets="armhf s390x"
randomTargets="armhf s390x"
randomLines=100000
while (($# > 0)); do
    case $1 in
    --targets) targets=$2; shift 2 ;;
    --sameness-targets) samenessTargets=$2; shift 2 ;;
    --robustness-targets) robustnessTargets=$2; shift 2 ;;
    --random-targets) randomTargets=$2; shift 2 ;;
    --random-lines) randomLines=$2; shift 2 ;;
    *) break ;;
    esac
done
linuxHost=${1:-$root/build/tools/kxcalc/kxcalc}
textsDirectory=$root/build-cross-texts
corpus=$root/tests/windows/cross_corpus.txt
googletestSources=/usr/src/googletest
jobs=2  # the machine's cores are shared

# For each target: the compilers' triplet, qemu's name for the processor, the Debian package
# of the compilers.
declare -A triplet=([aarch64]=aarch64-linux-gnu [armhf]=arm-linux-gnueabihf [riscv64]=riscv64-linux-gnu
                    [ppc64el]=powerpc64le-linux-gnu [s390x]=s390x-linux-gnu)
declare -A qemuArch=([aarch64]=aarch64 [armhf]=arm [riscv64]=riscv64 [ppc64el]=ppc64le [s390x]=s390x)
declare -A compilerPackages=([aarch64]=crossbuild-essential-arm64 [armhf]=crossbuild-essential-armhf
                             [riscv64]="gcc-riscv64-linux-gnu g++-riscv64-linux-gnu"
                             [ppc64el]=crossbuild-essential-ppc64el [s390x]=crossbuild-essential-s390x)

listed() { [[ " $2 " == *" $1 "* ]]; }  # whether word $1 is in the list $2
for target in $targets $samenessTargets $robustnessTargets $randomTargets; do
    if [[ -z ${triplet[$target]:-} ]]; then
        echo "unknown target $target: the targets are ${!triplet[*]}" >&2
        exit 2
    fi
done
seconds() { date +%s%N; }  # in nanoseconds
elapsed() {                 # seconds since $1, to a tenth
    local tenths=$((($(seconds) - $1) / 100000000))
    echo "$((tenths / 10)).$((tenths % 10))"
}

# Runs apt-get update and apt-get install with the given packages, quietly unless it fails.
aptInstall() {
    local log
    log=$(mktemp)
    if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$@"; } >"$log" 2>&1; then
        tail -n 20 "$log"
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
}

installMissing() {
    local packages=() target
    for target in $targets; do
        command -v "${triplet[$target]}-g++" >/dev/null || packages+=(${compilerPackages[$target]})
        command -v "qemu-${qemuArch[$target]}" >/dev/null || packages+=(qemu-user)
    done
    [[ -f $googletestSources/CMakeLists.txt ]] || packages+=(googletest)
    command -v python3 >/dev/null || packages+=(python3)
    ((${#packages[@]} == 0)) && return
    packages=($(printf '%s\n' "${packages[@]}" | sort -u))
    echo "installing ${packages[*]}"
    local start
    start=$(seconds)
    aptInstall "${packages[@]}"
    echo "installed in $(elapsed "$start") s"
}

# Runs a program of the target under qemu-user.
onTarget() {
    local target=$1
    shift
    timeout 900 "qemu-${qemuArch[$target]}" -L "/usr/${triplet[$target]}" "$@"
}

# Configures and builds the host and the test programs of one target in build-linux-TARGET.
crossBuild() {
    local target=$1
    local build=$root/build-linux-$target
    local programs=(kxcalc_cli golden_test real_test complex_test entry_test eval_test)
    listed "$target" "$robustnessTargets" && programs+=(robustness_test)
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/linux-$target.cmake" \
        -DKXCALC_GTEST_SOURCE_DIR="$googletestSources" -DKXCALC_BUILD_BENCHMARKS=OFF &&
        cmake --build "$build" -j"$jobs" --target "${programs[@]}"
}

# A target is built in the background while the one before it runs its tests under qemu,
# which keeps one core busy: the build's output goes to a log, shown when it fails.
startBuild() {
    local target=$1 start
    start=$(seconds)
    (
        status=0
        crossBuild "$target" >"$work/$target.build.log" 2>&1 || status=$?
        echo "$status $(elapsed "$start")" >"$work/$target.build.status"
    ) &
    buildProcess[$target]=$!
}

finishBuild() {
    local target=$1 status took
    wait "${buildProcess[$target]}" || true
    read -r status took <"$work/$target.build.status"
    if ((status != 0)); then
        tail -n 40 "$work/$target.build.log"
        echo "the build for $target failed (status $status)"
        return 1
    fi
    echo "built in $took s"
}

# Runs one GoogleTest program of the target; its output only when something fails.
runTests() {
    local target=$1 program=$2
    shift 2
    local output start status=0
    output=$(mktemp)
    start=$(seconds)
    onTarget "$target" "$root/build-linux-$target/tests/$program" --gtest_brief=1 "$@" >"$output" 2>&1 || status=$?
    if ((status != 0)); then
        tail -n 60 "$output"
        echo "$(basename "$program") on $target: FAILED (status $status)"
        rm -f "$output"
        return 1
    fi
    echo "$(basename "$program"): $(grep -E '^\[==========\] [0-9]+ tests? ' "$output" | sed 's/^\[==========\] //;s/ ran\..*//'), passed in $(elapsed "$start") s"
    rm -f "$output"
}

# Compares two files of texts for the lines of a third, line by line (a text may hold a tab:
# lines of make_lines.py do, and messages quote them); prints the number of lines whose texts
# differ, a missing text counting as a difference, and writes the first ten as
# "line | x86-64 text | target text", each cut to 120 bytes, into the file $4.
countDifferences() {
    local lines=$1 reference=$2 texts=$3 shown=$4
    LC_ALL=C awk -v reference="$reference" -v texts="$texts" -v shown="$shown" '
        {
            if ((getline expected < reference) <= 0) expected = "(no text)"
            if ((getline got < texts) <= 0) got = "(no text)"
            if (expected != got && ++count <= 10)
                printf "  %s | %s | %s\n", substr($0, 1, 120), substr(expected, 1, 120), substr(got, 1, 120) > shown
        }
        END { if ((getline got < texts) > 0) ++count; print count + 0 }' "$lines"
}

# The corpus through the target's host, into build-cross-texts/, against the x86-64 texts.
checkCorpus() {
    local target=$1
    local platform="$target Linux"
    local texts="$textsDirectory/$platform.txt" shown lines differing
    onTarget "$target" "$root/build-linux-$target/tools/kxcalc/kxcalc" <"$corpus" >"$texts" || true  # 1: some message
    lines=$(wc -l <"$corpus")
    shown=$(mktemp)
    differing=$(countDifferences "$corpus" "$textsDirectory/x86-64 Linux.txt" "$texts" "$shown")
    if ((differing > 0)); then
        echo "differences (line | x86-64 Linux | $platform):"
        cat "$shown"
    fi
    rm -f "$shown"
    echo "corpus on $platform: $((lines - differing)) of $lines lines the same as on x86-64 Linux, $differing differ"
    ((differing == 0))
}

# The random lines at one tolerance: a "set tol" line first, and the lines' own assignments
# of tol (set tol = ..., in any case of "set") made assignments of the same tolerance.
randomLinesAt() {
    local tolerance=$1
    echo "set tol = $tolerance"
    LC_ALL=C sed -E "s/^(set|SET|Set) tol = .*/\\1 tol = $tolerance/" "$randomWork/lines.txt"
}

makeRandomLines() {
    randomWork=$(mktemp -d)
    python3 "$root/tests/valgrind/make_lines.py" "$randomLines" >"$randomWork/lines.txt"
    local tolerance
    for tolerance in 0 -1; do
        randomLinesAt "$tolerance" >"$randomWork/lines$tolerance.txt"
        "$linuxHost" <"$randomWork/lines$tolerance.txt" >"$randomWork/x86-64$tolerance.txt" || true
    done
}

checkRandomLines() {
    local target=$1 tolerance start differing failed=0
    for tolerance in 0 -1; do
        start=$(seconds)
        onTarget "$target" "$root/build-linux-$target/tools/kxcalc/kxcalc" <"$randomWork/lines$tolerance.txt" \
            >"$randomWork/$target$tolerance.txt" || true
        differing=0
        if ! cmp -s "$randomWork/x86-64$tolerance.txt" "$randomWork/$target$tolerance.txt"; then
            differing=$(countDifferences "$randomWork/lines$tolerance.txt" "$randomWork/x86-64$tolerance.txt" \
                "$randomWork/$target$tolerance.txt" "$randomWork/shown")
            echo "differences (line | x86-64 Linux | $target Linux):"
            cat "$randomWork/shown"
            failed=1
        fi
        echo "random lines on $target Linux at tol $tolerance: $(wc -l <"$randomWork/lines$tolerance.txt") lines," \
            "$differing differ ($(elapsed "$start") s)"
    done
    ((failed == 0))
}

checkTarget() {
    local target=$1 failed=0
    local filter=-RealFunctionsSameness.*
    listed "$target" "$samenessTargets" && filter=*
    echo "== $target Linux: tests under qemu-${qemuArch[$target]}"
    runTests "$target" golden/golden_test || failed=1
    runTests "$target" real/real_test --gtest_filter="$filter" || failed=1
    runTests "$target" complex/complex_test || failed=1
    runTests "$target" entry/entry_test || failed=1
    runTests "$target" eval/eval_test || failed=1
    if listed "$target" "$robustnessTargets"; then
        runTests "$target" robustness/robustness_test || failed=1
    fi
    echo "== $target Linux: cross-system corpus"
    checkCorpus "$target" || failed=1
    if listed "$target" "$randomTargets"; then
        echo "== $target Linux: $randomLines random lines at tol 0 and tol -1"
        checkRandomLines "$target" || failed=1
    fi
    ((failed == 0))
}

installMissing
if [[ ! -x $linuxHost ]]; then
    echo "no Linux host at $linuxHost: build it first (the README's build)" >&2
    exit 1
fi
mkdir -p "$textsDirectory"
"$linuxHost" <"$corpus" >"$textsDirectory/x86-64 Linux.txt" || true  # status 1: some line gave a message
work=$(mktemp -d)
randomWork=
declare -A buildProcess=()
trap 'wait; rm -rf "$work"; [[ -n $randomWork ]] && rm -rf "$randomWork"' EXIT
for target in $targets; do
    if listed "$target" "$randomTargets"; then
        makeRandomLines
        break
    fi
done

start=$(seconds)
failedTargets=()
built=()  # the targets built, whose tests are still to run
for target in $targets ""; do
    if [[ -n $target ]]; then
        rm -f "$textsDirectory/$target Linux.txt"
        startBuild "$target"
    fi
    if ((${#built[@]} > 0)); then
        checkTarget "${built[0]}" || failedTargets+=("${built[0]}")
        built=()
    fi
    [[ -z $target ]] && break
    echo "== $target Linux: cross build (${triplet[$target]})"
    if finishBuild "$target"; then built=("$target"); else failedTargets+=("$target"); fi
done
echo "built and checked $targets in $(elapsed "$start") s"
if ((${#failedTargets[@]} > 0)); then
    echo "FAILED on: ${failedTargets[*]}"
    exit 1
fi
echo "all checks passed on: $targets"
