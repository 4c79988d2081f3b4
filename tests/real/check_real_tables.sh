#!/usr/bin/env bash
# check_real_tables.sh SOURCE_DIR BUILD_DIR: regenerates src/real/tables.h with
# tools/generate_real_tables.py into BUILD_DIR and compares it byte for byte with the
# committed header. Exit 77 (skipped) when python3 or mpmath is missing.
set -u
source_dir=$1
build_dir=$2
if ! command -v python3 >/dev/null 2>&1; then
  echo "skipped: python3 is not installed"
  exit 77
fi
if ! python3 -c "import mpmath" >/dev/null 2>&1; then
  echo "skipped: the python3 module mpmath is not installed (Debian: python3-mpmath)"
  exit 77
fi
mkdir -p "$build_dir"
generated=$build_dir/tables.h
python3 "$source_dir/tools/generate_real_tables.py" "$generated" || exit 1
if ! cmp -s "$generated" "$source_dir/src/real/tables.h"; then
  echo "src/real/tables.h differs from what tools/generate_real_tables.py writes:"
  diff "$source_dir/src/real/tables.h" "$generated" | head -40
  exit 1
fi
echo "src/real/tables.h is what tools/generate_real_tables.py writes"
