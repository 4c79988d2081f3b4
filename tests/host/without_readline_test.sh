#!/usr/bin/env bash
# The host still builds, and still works as a filter, when readline is not used.
# Usage: without_readline_test.sh SOURCE_DIR WORK_DIR
set -uo pipefail
source_dir=$1 work=$2
rm -rf "$work"
if ! cmake -S "$source_dir" -B "$work" -DKXCALC_USE_READLINE=OFF -DKXCALC_BUILD_TESTS=OFF \
    > "$work.log" 2>&1 || ! cmake --build "$work" -j2 --target kxcalc_cli >> "$work.log" 2>&1; then
    cat "$work.log"
    echo "FAIL: the host does not build without readline"
    exit 1
fi
program=$(find "$work" -type f -name kxcalc -perm -u+x | head -1)
if grep -q libreadline <<< "$(ldd "$program")"; then
    echo "FAIL: $program links readline"
    exit 1
fi
bash "$source_dir/tests/host/filter_test.sh" "$program"
