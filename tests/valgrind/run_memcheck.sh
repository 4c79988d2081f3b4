#!/usr/bin/env bash
# Memory check of the command-line host over a generated corpus of lines, and of repeated
# dlopen/kx_calc/dlclose cycles of the library: no memory error, nothing definitely or
# indirectly lost. Usage: tests/valgrind/run_memcheck.sh [BUILD_DIR] [LINES] [CYCLES]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-build}"
lines="${2:-3000}"
cycles="${3:-50}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

memcheck=(valgrind --tool=memcheck --error-exitcode=97 --leak-check=full
          --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
          --num-callers=30)

python3 "$here/make_lines.py" "$lines" > "$work/lines.txt"

# The host exits 1 when some line gave a message, which most corpora do; 97 is valgrind's.
status=0
"${memcheck[@]}" --log-file="$work/host.log" "$build/tools/kxcalc/kxcalc" < "$work/lines.txt" > "$work/answers.txt" || status=$?
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|All heap blocks' "$work/host.log" | sed 's/^==[0-9]*== /host: /'
echo "host: $(wc -l < "$work/answers.txt") answers to $lines lines"
if [ "$status" -eq 97 ] || [ "$(wc -l < "$work/answers.txt")" -ne "$lines" ]; then
  cat "$work/host.log"
  exit 1
fi

status=0
"${memcheck[@]}" --log-file="$work/cycles.log" "$build/tests/robustness/dlopen_cycle" "$build/src/libkxcalc.so" "$cycles" || status=$?
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|All heap blocks' "$work/cycles.log" | sed 's/^==[0-9]*== /dlopen: /'
if [ "$status" -ne 0 ]; then
  cat "$work/cycles.log"
  exit 1
fi
echo "memcheck: clean"
