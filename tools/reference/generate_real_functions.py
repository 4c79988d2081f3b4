#!/usr/bin/env python3
"""Reference values for the portable real functions: sin, cos, atan2, log, log1p, exp
and pow.

Every input is a double; every expected value is the correctly rounded double of the
exact value, computed with mpmath at 3000 bits and checked against 4000 bits (enough for
the reduction of arguments up to 2^1024 by pi/2). Lines, read by
tests/support/reference_table.h, with zero imaginary parts:

    sin x 0 result 0
    pow x 0 y 0 result 0
    atan2 y 0 x 0 result 0

Hard cases are included: the doubles nearest to multiples of pi/2 (and the double
closest to one, 6381956970095103·2^797), pi, 1e22, 1e300, the largest double, powers
whose exact value lies halfway between two doubles (also for exponents n/2^k and on the
subnormal grid), results near overflow and in the subnormal range, bases within a few ulps
of 1, logarithms of 1 + k·2^-52 and arctangents of ratios on the subnormal grid. Run from the repository root:

    python3 tools/reference/generate_real_functions.py > tests/reference/real_functions.txt
"""

import math
import random

import mpmath
from mpmath import mp, mpf

SEED = 20261208
PRECISIONS = (3000, 4000)
from double_rounding import round_to_double


def exact(function, *arguments):
    results = []
    for precision in PRECISIONS:
        with mp.workprec(precision):
            results.append(round_to_double(function(*[mpf(a) for a in arguments])))
    if results[0] != results[1]:
        raise ValueError(f"unstable reference for {arguments}")
    return results[0]


def signed_power(x, y):
    if x < 0:  # y is an integer here
        return (-1) ** int(y) * mpmath.power(-x, y)
    return mpmath.power(x, y)


def power_reference(x, y):
    """pow(x, y) rounded; an underflow keeps the sign of a negative base to an odd power."""
    result = exact(signed_power, x, y)
    if result == 0.0 and x < 0 and y == int(y) and int(y) % 2 != 0:
        return -0.0
    return result


def log_uniform(rng, low, high):
    return 2.0 ** rng.uniform(low, high)


def sine_cosine_arguments(rng):
    arguments = [math.pi, math.pi / 2, 3 * math.pi / 2, 2 * math.pi, 1e22, 1e300,
                 1.7976931348623157e308, 6381956970095103 * 2.0 ** 797, 1e10, 1e5,
                 2.0 ** -27, 2.0 ** -26, 0.7853981633974483, 0.7853981633974484, 2.0 ** 20,
                 5e-324, 2.0 ** 1023, 355.0, 103993.0, 5419351.0, 411557987.0]
    with mp.workprec(200):
        for k in [1, 2, 3, 4, 5, 10, 100, 1000, 12345, 2 ** 19 + 3, 2 ** 20 + 1, 2 ** 30 + 7, 2 ** 45 + 9]:
            nearest = float(k * mp.pi / 2)
            arguments += [nearest, math.nextafter(nearest, math.inf), math.nextafter(nearest, 0.0)]
    for _ in range(60):
        arguments.append(rng.uniform(-10, 10))
    for _ in range(60):
        arguments.append(log_uniform(rng, -30, 30) * rng.choice((-1, 1)))
    for _ in range(60):
        arguments.append(log_uniform(rng, 20, 1023.99) * rng.choice((-1, 1)))
    return arguments


def power_arguments(rng):
    pairs = [(10.0, -10.0), (math.pi, 100.0), (3.0, 34.0), (1.5, 34.0), (3.0, 33.0), (7.0, 19.0),
             (2.0, 0.5), (10.0, 308.0), (10.0, -308.0), (10.0, -323.0), (2.0, -1074.0), (2.0, -1075.0),
             (2.0, 1023.0), (2.0, 1023.5), (0.5, 1074.5), (1.0000000000000002, 4.5e15),
             (0.9999999999999999, 9e15), (1.0000000000000002, -3e15), (-2.0, 1023.0), (-3.0, 33.0),
             (-0.5, -1075.0), (1e-300, 1.1), (1e300, -1.1), (123456789.0, 0.0123), (2.5, -2.5),
             (7.0, 1.0 / 3.0), (1e-5, 0.2), (0.1, 0.1), (math.e, 709.78), (math.e, -745.1),
             # halfway powers with fractional exponents (5^23, 262143^3) and on the subnormal grid
             # (243·2^-1075, 2^-1075 = (2^-320)^(215/64))
             (25.0, 11.5), (625.0, 5.75), (390625.0, 2.875), (1.5625, 11.5), (68718952449.0, 1.5),
             (3 * 2.0 ** -215, 5.0), (2.0 ** -320, 3.359375), (2.0 ** -320, 3.3593749999999996)]
    for _ in range(80):
        pairs.append((log_uniform(rng, -20, 20), rng.uniform(-50, 50)))
    for _ in range(40):
        pairs.append((log_uniform(rng, -1074, 1023.99), rng.uniform(-1, 1)))
    for _ in range(40):
        pairs.append((log_uniform(rng, -30, 30) * rng.choice((-1, 1)), float(rng.randint(-300, 300))))
    for _ in range(40):
        pairs.append((1.0 + rng.choice((-1, 1)) * log_uniform(rng, -52, -1), log_uniform(rng, 0, 60) * rng.choice((-1, 1))))
    for _ in range(40):
        x = log_uniform(rng, -40, 40)
        target = rng.uniform(700, 709.7) if rng.random() < 0.5 else rng.uniform(-745, -700)
        pairs.append((x, target / math.log(x)))
    return pairs


def main():
    rng = random.Random(SEED)
    print("# name x 0 [y 0] result 0: correctly rounded values of the real functions;")
    print(f"# made by generate_real_functions.py (mpmath, seed {SEED})")
    for x in sine_cosine_arguments(rng):
        print(f"sin {x.hex()} 0x0.0p+0 {exact(mpmath.sin, x).hex()} 0x0.0p+0")
        print(f"cos {x.hex()} 0x0.0p+0 {exact(mpmath.cos, x).hex()} 0x0.0p+0")
    for _ in range(80):
        x = log_uniform(rng, -1074, 1023.99)
        print(f"log {x.hex()} 0x0.0p+0 {exact(mpmath.log, x).hex()} 0x0.0p+0")
    # and arguments 1 + k·2^-52 with few bits, whose logarithms lie within 2^-95 of a rounding boundary
    for x in [1.0000000000000002, 0.9999999999999999, 2.0, 0.5, 5e-324, 1.7976931348623157e308,
              1.0 + 6 * 2.0 ** -52, 1.0 - 20 * 2.0 ** -53, 1.0 + 20 * 2.0 ** -52, 1.0 - 12 * 2.0 ** -53]:
        print(f"log {x.hex()} 0x0.0p+0 {exact(mpmath.log, x).hex()} 0x0.0p+0")
    for _ in range(80):
        u = rng.choice((rng.uniform(-1, 1), rng.uniform(-0.35, 0.45), log_uniform(rng, -60, 0) * rng.choice((-1, 1)),
                        log_uniform(rng, 0, 1023)))
        print(f"log1p {u.hex()} 0x0.0p+0 {exact(mpmath.log1p, u).hex()} 0x0.0p+0")
    for u in [-0.29, -0.2900000000000001, 0.414, 0.41400000000000003, 2.0 ** -54, -(2.0 ** -53), 1e-300, -0.9999999999999999]:
        print(f"log1p {u.hex()} 0x0.0p+0 {exact(mpmath.log1p, u).hex()} 0x0.0p+0")
    angle_pairs = [(1.0, 1.0), (1.0, -1.0), (-1.0, -1.0), (1e-300, 1.0), (1.0, 1e-300), (1e-300, -1.0),
                   (5e-324, 1.7976931348623157e308), (1.7976931348623157e308, 5e-324), (3.0, 4.0),
                   (1.0, 0.9999999999999999), (0.9999999999999999, -1.0), (2.0 ** -60, 1.0), (2.0 ** -61, 1.0),
                   (1e-20, -1.0), (0.1, 0.8), (0.1, -0.7), (-5.0, 12.0),
                   # ratios on the subnormal grid: 1.5·2^-1074 and 2^-1075 less a hair round down
                   (3 * 2.0 ** -1000, 2.0 ** 75), (2.0 ** -1000, 2.0 ** 75), (-3 * 2.0 ** -1000, 2.0 ** 75)]
    for _ in range(60):
        angle_pairs.append((rng.uniform(-1, 1), rng.uniform(-1, 1)))
    for _ in range(40):
        angle_pairs.append((log_uniform(rng, -1074, 1023.99) * rng.choice((-1, 1)),
                            log_uniform(rng, -1074, 1023.99) * rng.choice((-1, 1))))
    for y, x in angle_pairs:
        angle = math.copysign(exact(mpmath.atan2, y, x), y)  # an underflow keeps the sign of y
        print(f"atan2 {y.hex()} 0x0.0p+0 {x.hex()} 0x0.0p+0 {angle.hex()} 0x0.0p+0")
    for _ in range(60):
        x = rng.uniform(-745, 709.7)
        print(f"exp {x.hex()} 0x0.0p+0 {exact(mpmath.exp, x).hex()} 0x0.0p+0")
    for x in [709.782712893384, 709.7827128933841, -745.1332191019411, -745.1332191019412, -708.4, 1e-20]:
        print(f"exp {x.hex()} 0x0.0p+0 {exact(mpmath.exp, x).hex()} 0x0.0p+0")
    for x, y in power_arguments(rng):
        print(f"pow {x.hex()} 0x0.0p+0 {y.hex()} 0x0.0p+0 {power_reference(x, y).hex()} 0x0.0p+0")


if __name__ == "__main__":
    main()
