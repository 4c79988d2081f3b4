#!/usr/bin/env python3
"""Measures the scaled hyperbolic products b·cosh a, b·sinh a and b·e^a against mpmath.

Random samples per argument range (the sinh series below 1/2, the exponential and its
reciprocal below 40, e^t/2 up to 745, the squared exponential beyond), with factors b
of both signs, also factors that make the product subnormal or nearly overflow. Prints,
per function and range, the samples, how many results are not the correctly rounded
double, and the largest error in ulps (of the exact value's binade; 2^-1074 for
subnormal results). Run from the repository root after building:

    python3 tools/reference/measure_hyperbolic_products.py build/tools/reference/hyperbolic_products_values [SAMPLES] [SEED]
"""

import math
import random
import subprocess
import sys

import mpmath
from mpmath import mp, mpf

from double_rounding import round_to_double

mp.prec = 256
FUNCTIONS = {
    "C": lambda a, b: b * mpmath.cosh(a),
    "S": lambda a, b: b * mpmath.sinh(a),
    "E": lambda a, b: b * mpmath.exp(a),
}


def ulp_error(computed, exact):
    if exact == 0:
        return 0.0 if computed == 0 else math.inf
    _, exponent = mpmath.frexp(exact)
    unit = mpf(2) ** max(int(exponent) - 53, -1074)
    return float(abs(mpf(computed) - exact) / unit)


def factor(rng, log_magnitude_of_exact, log_of_function):
    """A random b of either sign with |b·f(a)| about 2^log_magnitude_of_exact."""
    exponent = log_magnitude_of_exact - log_of_function
    value = rng.uniform(0.5, 1.0) * 2.0 ** max(min(exponent, 1023), -1074)
    return value if rng.random() < 0.5 else -value


def samples(rng, count):
    ranges = {
        "tiny a": lambda: 2.0 ** rng.uniform(-60, -1),
        "a < 1/2": lambda: rng.uniform(0.0, 0.5),
        "1/2 <= a < 40": lambda: rng.uniform(0.5, 40.0),
        "40 <= a < 745": lambda: rng.uniform(40.0, 745.0),
        "745 <= a < 1455": lambda: rng.uniform(745.0, 1454.9),
    }
    for name, argument in ranges.items():
        for kind in "CSE":
            for _ in range(count):
                a = argument()
                if kind == "E" and rng.random() < 0.5:
                    a = -a
                log_f = abs(a) / math.log(2.0)
                target = rng.choice([rng.uniform(-20, 20), rng.uniform(-1074, -1022), rng.uniform(1000, 1024),
                                     rng.uniform(-1000, 1000)])
                if abs(a) > 709:  # only products scaled back into range are of interest here
                    target = rng.uniform(-1074, 1024)
                b = factor(rng, target, log_f if kind != "E" else a / math.log(2.0))
                yield name, kind, a, b


def main():
    driver = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 20261208)
    cases = list(samples(rng, count))
    text = "".join(f"{kind} {a.hex()} {b.hex()}\n" for _, kind, a, b in cases)
    output = subprocess.run([driver], input=text, capture_output=True, text=True, check=True).stdout.split()
    tallies = {}
    worst_normal = (0.0, None)
    for (name, kind, a, b), computed_text in zip(cases, output):
        computed = float.fromhex(computed_text)
        exact = FUNCTIONS[kind](mpf(a), mpf(b))
        expected = round_to_double(exact)
        if expected == 0:  # an underflow keeps the sign of the exact product
            expected = math.copysign(0.0, float(mpmath.sign(exact)))
        error = ulp_error(computed, exact) if not math.isinf(expected) else (0.0 if computed == expected else math.inf)
        tally = tallies.setdefault((kind, name), [0, 0, 0.0])
        tally[0] += 1
        tally[1] += computed != expected or math.copysign(1, computed) != math.copysign(1, expected)
        tally[2] = max(tally[2], error)
        normal = expected != 0 and abs(expected) >= 2.0 ** -1022 and not math.isinf(expected)
        if normal and error > worst_normal[0]:
            worst_normal = (error, (kind, a.hex(), b.hex()))
    print(f"{'product':8} {'range of |a|':18} {'samples':>8} {'not correctly rounded':>22} {'largest error (ulp)':>20}")
    for (kind, name), (samples_count, wrong, largest) in sorted(tallies.items()):
        print(f"{kind:8} {name:18} {samples_count:8} {wrong:22} {largest:20.6f}")
    print(f"largest error of a normal result: {worst_normal[0]:.6f} ulp at {worst_normal[1]}")


if __name__ == "__main__":
    main()
