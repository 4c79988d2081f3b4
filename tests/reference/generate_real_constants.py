#!/usr/bin/env python3
"""Double-double constants for the portable real logarithm and arc functions.

Prints the C++ initialisers (high, low) used in src/real/real_logarithms.h (ln 2),
src/real/real_arcs.cpp (pi, pi/2, atan(j/8)) and src/real/odd_reciprocal_series.h
(1/(2k + 1)): each constant c is written as high + low with high = c rounded to double and low = (c - high) rounded to
double, so high + low carries c to about 106 bits. Values from mpmath at 300 bits.

The series coefficients 1/(2k + 1) serve both kernels: atanh s = s * sum (s^2)^k/(2k+1)
for the logarithm and atan t = t * sum (-t^2)^k/(2k+1) for the arctangent. They are the
Taylor coefficients, not a fitted polynomial: on the reduced intervals (|s| <= 0.1716 for
the logarithm, |t| <= 1/16 for the arctangent) the truncated series is already far below
the 2^-75 relative error the kernels aim for, see the term counts in the sources.

Run:  python3 tests/reference/generate_real_constants.py
"""
from mpmath import mp, mpf, pi, log, atan

mp.prec = 300


def split(value):
    high = float(value)
    low = float(value - mpf(high))
    return high, low


def initialiser(name, value):
    high, low = split(value)
    return f"inline constexpr DoubleDouble {name}{{{high.hex()}, {low.hex()}}};"


def main():
    print(initialiser("lnTwo", log(2)))
    print(initialiser("pi", pi))
    print(initialiser("halfPi", pi / 2))
    print("// atan(j/8) for j = 0 ... 8")
    print("inline constexpr std::array<DoubleDouble, 9> arctangentOfEighths{{")
    for j in range(9):
        high, low = split(atan(mpf(j) / 8))
        print(f"    {{{high.hex()}, {low.hex()}}},  // atan({j}/8)")
    print("}};")
    print("// 1/(2k + 1) for k = 0 ... 15")
    print("inline constexpr std::array<DoubleDouble, 16> oddReciprocals{{")
    for k in range(16):
        high, low = split(mpf(1) / (2 * k + 1))
        print(f"    {{{high.hex()}, {low.hex()}}},  // 1/{2 * k + 1}")
    print("}};")


if __name__ == "__main__":
    main()
