#!/usr/bin/env bash
# Compares the texts that each platform's build gave for the cross-system corpus with the
# Linux build's and prints one line per platform that differs, then the summary line:
#   x86-64 Linux, i686 Windows, x86-64 Windows, wasm32, aarch64 Linux, armhf Linux,
#   riscv64 Linux, ppc64el Linux, s390x Linux: 4740 lines, 0 differences
# (on one line), the platforms in that order, any other after them by name.
# The exit status is 0 only when every platform gave every line the same text.
#
#   tests/windows/cross_platform_summary.sh TEXTS-DIRECTORY
# The directory holds one file per platform, named after it ("x86-64 Linux.txt",
# "i686 Windows.txt", ...), each with one text per line of tests/windows/cross_corpus.txt.
# Whatever writes a file there joins the comparison; "x86-64 Linux.txt" is the reference.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
directory=$1
corpus=$root/tests/windows/cross_corpus.txt
reference="$directory/x86-64 Linux.txt"
lines=$(wc -l <"$corpus")
if [[ ! -f $reference ]]; then
    echo "no Linux texts at $reference" >&2
    exit 1
fi

# The files in the order of the summary line: the known platforms first, in this order.
known=("i686 Windows" "x86-64 Windows" "wasm32" "aarch64 Linux" "armhf Linux" "riscv64 Linux" "ppc64el Linux"
       "s390x Linux")
declare -A isKnown=()
files=()
for platform in "${known[@]}"; do
    isKnown[$platform]=1
    [[ -f "$directory/$platform.txt" ]] && files+=("$directory/$platform.txt")
done
for file in "$directory"/*.txt; do
    platform=$(basename "$file" .txt)
    [[ $file == "$reference" || -n ${isKnown[$platform]:-} ]] || files+=("$file")
done

platforms=("x86-64 Linux")
differences=0
for file in "${files[@]}"; do
    platform=$(basename "$file" .txt)
    platforms+=("$platform")
    # A missing or extra line counts as a difference too.
    differing=$(paste -d '\t' "$corpus" "$reference" "$file" | awk -F '\t' '$2 != $3' | wc -l)
    differing=$((differing + ($(wc -l <"$file") > lines ? $(wc -l <"$file") - lines : 0)))
    if ((differing > 0)); then
        echo "$platform: $differing of $lines lines differ from x86-64 Linux"
    fi
    differences=$((differences + differing))
done
joined=$(printf '%s, ' "${platforms[@]}")
echo "${joined%, }: $lines lines, $differences differences"
((differences == 0))
