#!/usr/bin/env python3
"""Writes cross_corpus.txt: lines whose texts must be the same from every build of the
library (Linux shared object, 64-bit Windows DLL). Their expected texts are not stored:
run_wine_tests.sh feeds the file to both builds and compares what they print.

The lines lean on what may differ between C runtimes: decimal reading and writing of
doubles (long mantissas, exponents near the limits, subnormals, rounding at the 15th
digit) and the real functions under every complex function and the power operator.
The second half repeats the function lines with tol = 0, so that parts too small to
print under the initial tolerance (the last bits of sin(pi), say) are compared too.

    python3 tests/windows/make_cross_corpus.py > tests/windows/cross_corpus.txt
"""
import random

FUNCTIONS = [
    "sin", "cos", "tan", "sec", "csc", "cot",
    "sinh", "cosh", "tanh", "sech", "csch", "coth",
    "asin", "acos", "atan", "asec", "acsc", "acot",
    "asinh", "acosh", "atanh", "asech", "acsch", "acoth",
    "sqrt", "exp", "ln", "log", "abs",
]

# Arguments at the usual special points, on and near branch cuts, and at the edges of
# overflow; signed zeros come from the prefix minus.
ARGUMENTS = [
    "0", "-0", "0*i", "-0*i", "1", "-1", "0.5", "-0.5", "2", "-2", "10", "-10",
    "1e-8", "1e-300", "1e-320", "0.9999999999999999", "1.0000000000000002",
    "pi/4", "pi/2", "pi", "3*pi/2", "2*pi", "100", "700", "709.78", "710", "-745", "1e22",
    "1e308", "1e309", "-1e309", "i", "-i", "2*i", "-2*i", "0.5*i", "1+i", "1-i", "-1+i",
    "-1-i", "3+4*i", "-3-4*i", "0.5-2*i", "2+0.5*i", "1e10*i", "1e-10+i", "-2+(-0)*i",
    "-2-0*i", "1+1e-300*i", "pi*i", "20+20*i", "-0.25+1e5*i", "1e309*i", "0/0",
]

POWER_BASES = ["0", "-0", "1", "-1", "2", "-2", "0.5", "10", "e", "i", "-i", "1+i", "3+4*i",
               "-8", "1e-300", "1e300", "1e309", "pi", "-4-1e-20*i", "1e300+1e-20*i", "0.6+0.8*i"]
POWER_EXPONENTS = ["0", "1", "2", "-1", "0.5", "-0.5", "3", "1/3", "10", "-10", "i", "1+i",
                   "2.5", "100", "1e309", "-2*i", "0.1", "1024", "-1000", "0.5+100000*i"]

REMAINDER_OPERANDS = ["7", "-7", "7.5", "1e300", "1e-300", "0.1", "3", "-3", "2+i", "5+7*i",
                      "1e309", "-0", "pi"]


def decimal_numbers(rng):
    lines = []
    for digits in (1, 2, 5, 10, 15, 16, 17, 20, 25):
        for _ in range(12):
            mantissa = "".join(rng.choice("0123456789") for _ in range(digits)).lstrip("0") or "1"
            exponent = rng.randint(-330, 310)
            cut = rng.randint(0, len(mantissa))
            body = mantissa[:cut] + "." + mantissa[cut:] if cut < len(mantissa) else mantissa
            lines.append(f"{body}e{exponent}")
    # Neighbours of the points where "%.15g" changes its form or rounds up a digit.
    for text in ("999999999999999.4", "999999999999999.5", "999999999999999.6",
                 "0.0001", "0.000099999999999999995", "0.00009999999999999999",
                 "9.999999999999995e14", "9.9999999999999949e-5", "1.25e-7", "2.5e22",
                 "4.9406564584124654e-324", "2.2250738585072014e-308",
                 "2.2250738585072011e-308", "1.7976931348623158e308", "1.7976931348623159e308",
                 "0.1+0.2", "1/3", "2/3", "1e15-1", "1e16+1", "123456789.123456789*i"):
        lines.append(text)
    return lines


def arithmetic(rng):
    def operand():
        sign = rng.choice(["", "-"])
        digits = "".join(rng.choice("0123456789") for _ in range(16))
        return f"({sign}{rng.randint(1, 9)}.{digits}e{rng.randint(-20, 20)})"

    lines = []
    for _ in range(150):
        a, b, c, d = operand(), operand(), operand(), operand()
        op = rng.choice("+-*/%")
        lines.append(f"({a}+{b}*i){op}({c}+{d}*i)")
    return lines


def function_lines():
    return [f"{name}({argument})" for name in FUNCTIONS for argument in ARGUMENTS]


def power_lines():
    return [f"({base})^({exponent})" for base in POWER_BASES for exponent in POWER_EXPONENTS]


def remainder_lines():
    return [f"({a}) % ({b})" for a in REMAINDER_OPERANDS for b in REMAINDER_OPERANDS]


def main():
    rng = random.Random(20261207)
    lines = decimal_numbers(rng) + arithmetic(rng)
    sensitive = function_lines() + power_lines() + remainder_lines()
    lines += sensitive
    lines.append("set tol = 0")
    lines += sensitive
    lines += arithmetic(rng)
    for line in lines:
        print(line)


if __name__ == "__main__":
    main()
