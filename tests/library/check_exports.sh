#!/usr/bin/env bash
# The shared library as hosts see it:
#   - it exports kx_calc and nothing else;
#   - it holds no unique symbols (STB_GNU_UNIQUE would keep it loaded after dlclose, so a
#     reload would not reset it);
#   - of the C runtime's mathematics it imports only exact operations (square root,
#     remainder, scaling, rounding to an integer, comparisons): no transcendental function,
#     whose last bit differs between C runtimes, no fma, which not every runtime rounds
#     correctly, and no long double function ("*l"), whose precision differs between targets.
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

exactOperations=" sqrt fmod fmin fmax fabs copysign frexp ldexp scalbn ilogb nearbyint rint floor ceil trunc "
libm=$(ldd "$library" | awk '/libm\.so/ { print $3 }')
if [ -n "$libm" ]; then
  mathFunctions=$(nm -D --defined-only "$libm" | awk '{ sub(/@.*/, "", $3); print $3 }' | sort -u)
  imported=$(nm -D --undefined-only "$library" | awk '{ sub(/@.*/, "", $2); print $2 }' | sort -u)
  mathImports=$(comm -12 <(echo "$mathFunctions") <(echo "$imported") | tr '\n' ' ')
  echo "imports from $libm: $mathImports"
  forbidden=""
  for name in $mathImports; do
    case "$exactOperations" in
      *" $name "*) ;;
      *) forbidden="$forbidden $name" ;;
    esac
  done
  if [ -n "$forbidden" ]; then
    echo "imports beyond the exact operations of the C runtime:$forbidden"; exit 1
  fi
fi
