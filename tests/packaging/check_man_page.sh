#!/usr/bin/env bash
# The manual page renders with no groff warning, carries the project's version, and names
# every function of the language, every option and every environment variable the host reads.
# Usage: check_man_page.sh GROFF PAGE VERSION
set -uo pipefail
groff=$1 page=$2 version=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

warnings=$("$groff" -man -Tutf8 -ww -z "$page" 2>&1)
[[ -z "$warnings" ]] || fail "groff warnings: $warnings"
grep -q "^\.TH KXCALC 1 .*\"kxcalc $version\"" "$page" || fail ".TH does not carry version $version"
text=$("$groff" -man -Tutf8 -P-cbou "$page" 2>/dev/null)
for word in sin cos tan sec csc cot sinh cosh tanh sech csch coth asin acos atan asec acsc acot \
    asinh acosh atanh asech acsch acoth sqrt exp ln log abs tol --help --version \
    XDG_STATE_HOME NO_COLOR HOME TERM "EXIT STATUS" "kxcalc/history"; do
    grep -qF -- "$word" <<< "$text" || fail "the page does not mention $word"
done
if ((failures > 0)); then echo "$failures failed"; exit 1; fi
echo "man page: all checks passed"
