#!/usr/bin/env bash
# The shared library exports kx_calc and nothing else, and holds no unique symbols
# (STB_GNU_UNIQUE would keep it loaded after dlclose, so a reload would not reset it).
set -euo pipefail
library=$1
exported=$(nm -D --defined-only "$library" | awk '{print $2 " " $3}')
if [ "$exported" != "T kx_calc" ]; then
  echo "expected exactly 'T kx_calc', found:"; echo "$exported"; exit 1
fi
if readelf --dyn-syms -W "$library" | grep -q UNIQUE; then
  echo "unique symbols found:"; readelf --dyn-syms -W "$library" | grep UNIQUE; exit 1
fi
echo "exports: kx_calc only"
