#!/usr/bin/env bash
# kxcalc as a filter and with arguments: one answer per input line on standard output, in
# order, messages included and never coloured; the exit status; the usage options.
# Usage: filter_test.sh KXCALC
set -uo pipefail
kxcalc=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [[ "$2" == "$3" ]] || fail "$1: expected [$3], got [$2]"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Lines that an interactive session would take as commands, blank lines and a line that
# follows "quit" are all lines for the library here.
printf '%s\n' '1+2' '2)' 'help' 'quit' '' 'exit' 'set x = 2+i' 'x*x' '(3+4*i)*(3+4*i)' '2 3' \
    > "$work/input"
env -u NO_COLOR TERM=xterm-256color "$kxcalc" < "$work/input" > "$work/output" 2> "$work/errors"
status=$?
expect_eq "exit status with a message among the answers" "$status" 1
expect_eq "line count" "$(wc -l < "$work/output")" "$(wc -l < "$work/input")"
expect_eq "standard error" "$(cat "$work/errors")" ""
grep -q $'\x1b' "$work/output" && fail "escape sequences in piped output"

# Each answer is the one that the same line gives alone, except where an earlier line of the
# session assigned a variable (x*x).
line_number=0
while IFS= read -r line; do
    line_number=$((line_number + 1))
    [[ "$line" == "x*x" ]] && continue
    alone=$("$kxcalc" -- "$line")
    expect_eq "answer to line $line_number ($line)" "$(sed -n "${line_number}p" "$work/output")" "$alone"
done < "$work/input"
expect_eq "first answer" "$(sed -n 1p "$work/output")" "3"
expect_eq "unmatched bracket" "$(sed -n 2p "$work/output")" "Syntax error.  Unmatched: )"
expect_eq "assignment" "$(sed -n 7p "$work/output")" "2+i"
expect_eq "variable kept for the next line" "$(sed -n 8p "$work/output")" "3+4i"

# Carriage returns before the line end are dropped; a last line without a line end is read.
expect_eq "CRLF and unterminated input" "$(printf '1+1\r\n2*3' | "$kxcalc")" $'2\n6'
printf '1+1\n2*3\n' | "$kxcalc" > /dev/null
expect_eq "exit status with results only" "$?" 0
expect_eq "empty input" "$(printf '' | "$kxcalc" | wc -c)" 0

# Arguments: one answer each, in one session.
expect_eq "arguments" "$("$kxcalc" 'set y = 3' 'y*y' '2+')" $'3\n9\nRan Out of Data'
"$kxcalc" '1' '2' > /dev/null
expect_eq "exit status of results" "$?" 0
"$kxcalc" '1' '(' > /dev/null
expect_eq "exit status of a message" "$?" 1
expect_eq "-- before an expression that looks like an option" "$("$kxcalc" -- '--pi')" "$("$kxcalc" 'pi')"

# Options.
"$kxcalc" --help > "$work/help"
expect_eq "--help status" "$?" 0
grep -q '^Usage: kxcalc' "$work/help" || fail "--help prints the usage"
expect_eq "--version" "$("$kxcalc" --version)" "kxcalc ${KXCALC_EXPECTED_VERSION:-1.1.0}"
"$kxcalc" --frobnicate > "$work/out" 2> "$work/err"
expect_eq "unknown option status" "$?" 2
expect_eq "unknown option writes nothing to standard output" "$(cat "$work/out")" ""
grep -q "unknown option '--frobnicate'" "$work/err" || fail "unknown option is named on standard error"

if ((failures > 0)); then echo "$failures failed"; exit 1; fi
echo "filter: all checks passed"
