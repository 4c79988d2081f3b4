#!/usr/bin/env python3
"""Reference values for abs, sqrt, exp, ln, log, the complex power and the scaled
exponential product E(a, t) = t·e^a.

Every input is a double; every expected part is the correctly rounded double of the
exact principal value, computed with mpmath at high precision (and checked against a
second, higher precision). Output lines, read by tests/support/reference_table.h:

    name in-re in-im [exponent-re exponent-im] out-re out-im

and, for E, "E a t product 0".

with numbers written by float.hex(). Run from the repository root:

    python3 tools/reference/generate_exponential.py > tests/reference/exponential.txt

and, for a wider sample of "^" judged by the same test (about a minute per 10000 rows):

    python3 tools/reference/generate_exponential.py --sweep 10000 1 > /tmp/sweep.txt
    KX_EXPONENTIAL_TABLE=/tmp/sweep.txt build/tests/complex/complex_test --gtest_filter='*power_correctly*'

mpmath has no signed zeros, so on the negative real axis the side of the cut is chosen
here from the sign of the zero imaginary part: ln and log of x - 0i (x < 0) are the
conjugates of mpmath's values. sqrt gives +sqrt(|x|)·i on that axis for either sign.
"""

import math
import random
import sys

import mpmath
from mpmath import mp, mpf, mpc

SEED = 20261207
PRECISIONS = (2400, 3200)  # parts as small as 2^-2100 of the modulus are resolved
from double_rounding import round_to_double


def exact(function, *arguments):
    """(re, im) of a function of complex arguments, rounded, stable over two precisions."""
    results = []
    for precision in PRECISIONS:
        with mp.workprec(precision):
            value = function(*[mpc(mpf(a.real), mpf(a.imag)) for a in arguments])
            parts = [mpmath.re(value), mpmath.im(value)]
            negligible = abs(value) * mpf(2) ** (40 - precision)
            # A part that is exactly zero comes out as rounding noise far below the modulus.
            parts = [mpf(0) if abs(part) < negligible else part for part in parts]
            results.append(tuple(round_to_double(part) for part in parts))
    if results[0] != results[1] and not any(math.isnan(p) for p in results[0]):
        raise RuntimeError(f"reference unstable for {arguments}: {results}")
    return results[1]


def on_lower_side_of_cut(z):
    return z.imag == 0 and math.copysign(1.0, z.imag) < 0 and z.real < 0


def reference_logarithm(function, z):
    """A logarithm's parts with the calculator's signs on the real axis: the lower side of the cut
    has the negative angle, a positive real the zero angle with the sign of its imaginary part."""
    re, im = exact(function, z)
    if on_lower_side_of_cut(z):
        im = -im
    if z.imag == 0 and z.real > 0:
        im = math.copysign(0.0, z.imag)
    return re, im


def reference_ln(z):
    return reference_logarithm(mpmath.log, z)


def reference_log(z):
    return reference_logarithm(lambda v: mpmath.log(v) / mpmath.log(10), z)


def reference_sqrt(z):
    return exact(mpmath.sqrt, z)


def reference_abs(z):
    return exact(lambda v: mpc(abs(v), 0), z)


def reference_exp(z):
    return exact(mpmath.exp, z)


def reference_pow(z, w):
    if w.imag == 0 and w.real == int(w.real) and abs(w.real) <= 1024:  # an integer power, exactly
        n = int(w.real)
        return exact(lambda base: base ** n, z)
    return exact(lambda base, exponent: mpmath.exp(exponent * mpmath.log(base)), z, w)


def log_uniform(rng, low_exponent, high_exponent):
    """A positive double with a uniformly distributed decimal exponent."""
    return 10.0 ** rng.uniform(low_exponent, high_exponent)


def signed(rng, value):
    return value if rng.random() < 0.5 else -value


def modulus_arguments(rng):
    """Arguments for abs, sqrt, ln, log: all magnitudes, |z| near 1, the cut, zero parts."""
    points = []
    # Exact and simple values.
    for re, im in [(3, 4), (-3, -4), (0, 1), (1, 0), (-1, 0), (0, -1), (1, 1), (-2, 0.5),
                   (1e308, 1e308), (1.5e308, 1.5e308), (1e-300, 1e-300), (5, 12), (0.6, 0.8)]:
        points.append(complex(re, im))
    # Every magnitude, parts of independent size and sign.
    for _ in range(90):
        re = signed(rng, log_uniform(rng, -307, 308))
        im = signed(rng, log_uniform(rng, -307, 308))
        points.append(complex(re, im))
    # Parts of similar size (the b close to a branch of the modulus).
    for _ in range(30):
        a = log_uniform(rng, -300, 300)
        points.append(complex(signed(rng, a), signed(rng, a * rng.uniform(0.5, 1.0))))
    # Near |z| = 1: radius 1 + delta at a random angle, the rounded unit circle, and
    # points along the real and imaginary axes just off 1.
    for _ in range(60):
        delta = signed(rng, log_uniform(rng, -16, -1))
        angle = rng.uniform(-math.pi, math.pi)
        points.append(complex((1 + delta) * math.cos(angle), (1 + delta) * math.sin(angle)))
    for _ in range(20):
        angle = rng.uniform(-math.pi, math.pi)
        points.append(complex(math.cos(angle), math.sin(angle)))
    for delta in [1e-7, -1e-7, 1e-9, -1e-9, 2.0**-52, -2.0**-53, 1e-12, 0.3, -0.25, 0.41]:
        points.append(complex(1 + delta, 0.0))
        points.append(complex(0.0, 1 + delta))
        points.append(complex(-(1 + delta), 1e-3))
    # Just inside and outside the boundary of the near-one region, sqrt(2) and 1/sqrt(2).
    for radius in [math.sqrt(2) * (1 + 1e-15), math.sqrt(2) * (1 - 1e-15), math.sqrt(0.5) * (1 + 1e-15),
                   math.sqrt(0.5) * (1 - 1e-15), 1.3, 1.5, 0.75, 0.65, 2.0, 0.5]:
        for angle in [0.3, 1.2, 2.9, -2.0]:
            points.append(complex(radius * math.cos(angle), radius * math.sin(angle)))
    # Both sides of the cut along the negative real axis, and signed-zero parts.
    for magnitude in [1.0, 10.0, 0.5, 1e-200, 1e200, 2.5]:
        for im in [0.0, -0.0, 1e-300, -1e-300, 1e-17, -1e-17]:
            points.append(complex(-magnitude, im))
        for re in [0.0, -0.0]:
            points.append(complex(re, magnitude))
            points.append(complex(re, -magnitude))
        points.append(complex(magnitude, 0.0))
        points.append(complex(magnitude, -0.0))
    return points


def subnormal_modulus_arguments(rng):
    """Arguments whose modulus is subnormal or borders on it."""
    points = []
    for _ in range(20):
        points.append(complex(signed(rng, log_uniform(rng, -323, -308)), signed(rng, log_uniform(rng, -323, -308))))
    points += [complex(5e-324, 5e-324), complex(3e-320, 4e-320), complex(2.0**-1022, 2.0**-1022)]
    return points


def exp_arguments(rng):
    points = [complex(1, 0), complex(0, math.pi), complex(710, 0.7853981633974483), complex(-1, 2),
              complex(0, 0), complex(-0.0, -0.0), complex(709.78, 0), complex(-745, 0), complex(-708, 1)]
    for _ in range(120):
        points.append(complex(rng.uniform(-40, 40), rng.uniform(-40, 40)))
    for _ in range(60):
        points.append(complex(rng.uniform(-740, 709), rng.uniform(-math.pi, math.pi)))
    # Finite results beyond e^709.78: the factor cos y or sin y brings them back in range.
    for _ in range(30):
        x = rng.uniform(709.8, 744)
        limit = math.log(1.79e308) - x  # ln |t| must stay below this
        t = math.exp(rng.uniform(limit - 30, limit - 0.01))
        points.append(complex(x, signed(rng, math.acos(t))))  # cos y = t, a tiny factor
    # Tiny arguments and large imaginary parts.
    for _ in range(40):
        points.append(complex(signed(rng, log_uniform(rng, -300, -1)), signed(rng, log_uniform(rng, -300, -1))))
    for _ in range(20):
        points.append(complex(rng.uniform(-5, 5), signed(rng, log_uniform(rng, 2, 22))))
    # Results that underflow into the subnormal range or border on it.
    for _ in range(10):
        points.append(complex(rng.uniform(-744, -700), rng.uniform(-3, 3)))
    return points


def scaled_product_arguments(rng):
    """(a, t) for E(a, t) = t·e^a: results across the whole double range, t of any size,
    results beyond e^709.78 brought back by a small t, overflow, subnormal results."""
    pairs = [(710.0, 0.7071067811865476), (1842.0, 2.0**-1074), (-1842.0, 1.7976931348623157e308),
             (0.0, 1.0), (1.0, -1.0), (-745.1, 1.0), (709.782712893384, 1.0), (709.7827128933841, 1.0)]
    for _ in range(150):
        a = rng.uniform(-1842, 1842)
        # ln|t| chosen so that ln|t·e^a| is in the normal range, with some margin.
        low = max(-744.0, -708.0 - a)
        high = min(709.0, 709.0 - a)
        if low >= high:
            continue
        t = signed(rng, math.exp(rng.uniform(low, high)))
        pairs.append((a, t))
    for _ in range(40):  # results that overflow or are subnormal
        a = rng.uniform(-1842, 1842)
        target = rng.choice([rng.uniform(709.8, 720.0), rng.uniform(-744.0, -708.5)])
        log_t = target - a
        if -744 < log_t < 709:
            pairs.append((a, signed(rng, math.exp(log_t))))
    for _ in range(40):  # the plain exponential, t = 1
        pairs.append((rng.uniform(-745, 709.7), 1.0))
    return pairs


def pow_arguments(rng):
    """(base, exponent) pairs for the complex power cases: non-real base with a real
    exponent, positive real base with a non-real exponent, and both non-real."""
    pairs = [(complex(0, 1), complex(0, 1)), (complex(2, 0), complex(0, 1)), (complex(0, 1), complex(2, 0)),
             (complex(1, 1), complex(0.5, 0)), (complex(-1, 1e-300), complex(0.5, 0)),
             (complex(-8, -1e-12), complex(1 / 3, 0)),
             # the base e: sin of pi·ln(e) rounded is about 2.9e-16, and an angle near 135 quarter turns
             (complex(math.e, 0), complex(0, math.pi)), (complex(math.e, 0), complex(-2, -math.pi)),
             (complex(math.e, 0), complex(0.5, 212.05750411731105))]
    for _ in range(100):  # moderate bases, moderate exponents
        base = complex(rng.uniform(-10, 10), rng.uniform(-10, 10))
        exponent = complex(rng.uniform(-5, 5), rng.uniform(-5, 5))
        pairs.append((base, exponent))
    for _ in range(60):  # real exponent, non-real base of any size
        base = complex(signed(rng, log_uniform(rng, -100, 100)), signed(rng, log_uniform(rng, -100, 100)))
        exponent = complex(signed(rng, log_uniform(rng, -3, 0.5)), 0.0)
        pairs.append((base, exponent))
    for _ in range(60):  # positive real base, non-real exponent
        base = complex(log_uniform(rng, -50, 50), 0.0)
        exponent = complex(rng.uniform(-5, 5), rng.uniform(-20, 20))
        pairs.append((base, exponent))
    for _ in range(60):  # bases near the unit circle
        angle = rng.uniform(-math.pi, math.pi)
        radius = 1 + signed(rng, log_uniform(rng, -15, -2))
        base = complex(radius * math.cos(angle), radius * math.sin(angle))
        exponent = complex(rng.uniform(-50, 50), rng.uniform(-5, 5))
        pairs.append((base, exponent))
    pairs += exact_power_arguments() + integer_power_arguments(rng) + real_power_arguments(rng)
    pairs += large_exponent_arguments(rng) + huge_angle_arguments()
    return [(z, w) for z, w in pairs if z.imag != 0 or z.real > 0]


def exact_power_arguments():
    """Integer powers whose parts are small integers, powers of two or zero."""
    cases = [((0, 1), 2), ((0, 1), 4), ((0, 1), 3), ((0, 1), -2), ((0, -1), 2), ((1, 1), 2), ((1, 1), 100),
             ((1, 1), -2), ((1, -1), 3), ((3, 4), 2), ((2, 1), 3), ((1, 2), -1), ((-1, 1), 1024), ((2, 2), 7),
             ((0.5, 0.5), 1000), ((0.5, 0.5), -1000), ((1, 3), 10), ((-3, 2), 12), ((0, 2.0**-500), 3),
             ((2.0**500, 2.0**-1000), 2), ((5, 12), -3), ((0, 1.5), 1023), ((0, 3), -9)]
    return [(complex(*base), complex(n, 0)) for base, n in cases]


def integer_power_arguments(rng):
    """z^n with 1 <= |n| <= 1024: bases near the unit circle, near the axes, large and small."""
    pairs = []
    for _ in range(60):  # any angle, |z|^n well inside the range
        n = rng.choice([-1, 1]) * rng.choice([rng.randint(1, 12), rng.randint(13, 1024)])
        radius = math.exp(rng.uniform(-600, 600) / abs(n))
        angle = rng.uniform(-math.pi, math.pi)
        pairs.append((complex(radius * math.cos(angle), radius * math.sin(angle)), complex(n, 0)))
    for _ in range(60):  # near an axis: the small part of z^n is about n·y/x of the large one
        n = rng.choice([-1, 1]) * rng.randint(2, 60)
        large = signed(rng, math.exp(rng.uniform(-300, 300) / abs(n)))
        small = signed(rng, abs(large) * log_uniform(rng, -250, -1))
        base = complex(large, small) if rng.random() < 0.5 else complex(small, large)
        pairs.append((base, complex(n, 0)))
    for _ in range(20):  # results near overflow and in the subnormal range
        n = rng.randint(2, 1024)
        radius = math.exp(rng.choice([rng.uniform(700, 709), rng.uniform(-740, -700)]) / n)
        angle = rng.uniform(-math.pi, math.pi)
        pairs.append((complex(radius * math.cos(angle), radius * math.sin(angle)), complex(n, 0)))
    pairs += [(complex(-58.429900985622716, -1.5695441557747804e-14), complex(44, 0)),
              (complex(-2.3677448110020087, -1.1857194619917815), complex(45, 0))]
    return pairs


def real_power_arguments(rng):
    """Non-integer real exponents: bases near the axes, near the unit circle, large and small."""
    pairs = []
    for _ in range(50):  # near an axis, any magnitude
        large = signed(rng, log_uniform(rng, -150, 150))
        small = signed(rng, abs(large) * log_uniform(rng, -300, -1))
        base = complex(large, small) if rng.random() < 0.5 else complex(small, large)
        pairs.append((base, complex(signed(rng, rng.uniform(0.01, 5)), 0)))
    for _ in range(30):  # |z| within 1e-16..1e-2 of 1, exponents up to 2^20
        angle = rng.uniform(-math.pi, math.pi)
        radius = 1 + signed(rng, log_uniform(rng, -16, -2))
        exponent = signed(rng, log_uniform(rng, 0, 6.3)) + rng.random()
        if abs(exponent * math.log(radius)) < 700:
            pairs.append((complex(radius * math.cos(angle), radius * math.sin(angle)), complex(exponent, 0)))
    for _ in range(20):  # large and small bases, exponents that keep the result in range
        base = complex(signed(rng, log_uniform(rng, -300, 300)), signed(rng, log_uniform(rng, -300, 300)))
        modulus = abs(base)
        limit = 700 / abs(math.log(modulus))
        pairs.append((base, complex(rng.uniform(-limit, limit), 0)))
    pairs += [(complex(1e300, 1e-20), complex(0.5, 0)), (complex(1, 1e-300), complex(1e200 + 0.5, 0)),
              (complex(2, 2.0**-1074), complex(0.75, 0))]
    return pairs


def large_exponent_arguments(rng):
    """|w·ln z| from 1 to 2^20: w = t/ln z for a chosen t, rounded to doubles, for real and
    non-real bases and exponents."""
    pairs = []
    for _ in range(80):
        size = 2.0 ** rng.uniform(0, 20)
        target = complex(rng.uniform(-700, 700), signed(rng, size))  # Re within the range of e^t
        if rng.random() < 0.3:
            base = complex(log_uniform(rng, -300, 300), 0.0)
        else:
            base = complex(signed(rng, log_uniform(rng, -5, 5)), signed(rng, log_uniform(rng, -5, 5)))
        exponent = target / complex(mpmath.log(mpc(base.real, base.imag)))
        if rng.random() < 0.3 and base.imag != 0:
            exponent = complex(exponent.real, 0.0)  # a real exponent: |Re(w ln z)| may leave the range
            if abs(exponent.real * math.log(abs(base))) > 700:
                continue
        pairs.append((base, exponent))
    return pairs


def huge_angle_arguments():
    """|Im(w·ln z)| from 2^40 to 2^100, where 2^-100 of it reaches the last bits of cos and sin:
    real and non-real bases and exponents, bases near an axis, parts that overflow or
    underflow with the sign of cos or sin of that angle."""
    return [(complex(2, 0), complex(0, 1e30)), (complex(2, 0), complex(0, 1e18)),
            (complex(0.5, 1e-30), complex(0.3, -2.5e22)), (complex(7.5, -3e-25), complex(-1.25, 4e27)),
            (complex(-1, 1e-5), complex(1e25 + 0.5e9, 0)), (complex(1, 1.75), complex(5.371958276243343e28, 0)),
            (complex(600.0647134045385, 0.5), complex(2.9765123840149437e34, -2.2407908353765422)),
            (complex(66.46873870577757, 0), complex(-30, -6.55595763495087e25)),
            (complex(1.0356271186080823, 0), complex(-4.25, 1.310245213919281e33)),
            (complex(5.8988736205382e-05, 0), complex(4.0109131217288825, -1.7301724667931462e33)),
            (complex(math.e, 0), complex(0, 1e18)), (complex(math.e, 0), complex(-3.5, -2.5e22)),
            (complex(math.e, 0), complex(0.75, 1e30))]


def text(value):
    if math.isnan(value):
        return "nan"
    if math.isinf(value):
        return "inf" if value > 0 else "-inf"
    return value.hex()


# Arguments (re im, as float.hex() writes them) with a part near a halfway point between two doubles: within about 2^-24 ulp
# (the nearest of millions of random arguments) or 2^-50 ulp (a small second part solved for,
# so that its quadratic effect moves the part onto a halfway point, then rounded to a double).
HARD = {
    "exp": ["-0x1.0e9de6793e93cp+2 0x1.e196a113b79c1p+12", "-0x1.8efd59f34158dp-11 0x1.26a6b4e7ac469p-10",
            "0x1.143814e6cf204p-53 0x1.abd1e42d13710p+0", "0x1.0abad29ad0590p-53 -0x1.3c3a5ace1d4cdp+1"],
    "ln": ["0x1.46a7cbc2691b4p-8 0x1.6759bc85f0122p-3", "-0x1.66f847264015ap+2 0x1.c80960a87b831p-8",
           "-0x1.1bb75d3392408p-1 0x1.0957970a85b41p-27", "0x1.5d9e1a294492fp-1 0x1.e9844fdefb62fp-28"],
    "log": ["0x1.6ceabe2ed3e2ap-23 -0x1.27c9d8ae75fd6p-23", "0x1.3bdbf682dbeep-3 0x1.6ec66391b73cp-2",
            "-0x1.e85d9f5b42f26p+0 0x1.6e23af1aac5aep-26", "0x1.73d1fe785e8f9p+1 0x1.828a26a1c2160p-26"],
}
# ln|z| and log10|z| below the normal range: |z|² = 1 + y² with y² near the smallest subnormal.
HARD["ln"] += ["0x1p+0 0x1.02bb7ae660d39p-537", "-0x1p+0 -0x1.6a09e667f3bcdp-537"]
HARD["log"] += ["0x1p+0 0x1.7p-536", "0x0p+0 0x1.0000000000001p+0"]

# Arguments whose parts are exactly doubles: e^0 = 1, ln|z| = 0 on |z| = 1, log10|z| = k/2
# where x² + y² = 10^k (up to 10^46, beyond the exact powers of ten held as double-doubles).
EXACT = {
    "exp": [(0.0, 0.0), (-0.0, -0.0), (-0.0, 0.0)],
    "ln": [(1.0, 0.0), (1.0, -0.0), (-1.0, 0.0), (-1.0, -0.0), (0.0, 1.0), (-0.0, -1.0)],
    "log": [(1.0, 0.0), (100.0, 0.0), (1e22, 0.0), (1e11, -0.0), (60.0, 80.0), (-60.0, -80.0), (0.0, 1000.0),
            (-100.0, 0.0), (-1e22, -0.0), (3e22, 1e22), (6e22, -8e22), (8.0, 6.0)],
}


def main():
    rng = random.Random(SEED)
    lines = ["# name in-re in-im [exponent-re exponent-im] out-re out-im: correctly rounded",
             "# principal values; made by generate_exponential.py (mpmath, seed %d)" % SEED]
    unary = [("abs", reference_abs), ("sqrt", reference_sqrt), ("ln", reference_ln), ("log", reference_log)]
    arguments = modulus_arguments(rng) + subnormal_modulus_arguments(rng)
    for name, reference in unary:
        for z in arguments:
            re, im = reference(z)
            lines.append(" ".join([name, text(z.real), text(z.imag), text(re), text(im)]))
    for z in exp_arguments(rng):
        re, im = reference_exp(z)
        lines.append(" ".join(["exp", text(z.real), text(z.imag), text(re), text(im)]))
    for a, t in scaled_product_arguments(rng):
        with mp.workprec(PRECISIONS[0]):
            value = round_to_double(mpf(t) * mpmath.exp(mpf(a)))
        lines.append(" ".join(["E", text(a), text(t), text(value), text(0.0)]))
    for z, w in pow_arguments(rng):
        re, im = reference_pow(z, w)
        lines.append(" ".join(["pow", text(z.real), text(z.imag), text(w.real), text(w.imag), text(re), text(im)]))
    references = {"exp": reference_exp, "ln": reference_ln, "log": reference_log}
    hard = {name: [tuple(float.fromhex(part) for part in point.split()) for point in points] for name, points in HARD.items()}
    for table in (hard, EXACT):
        for name, points in table.items():
            for x, y in points:
                re, im = references[name](complex(x, y))
                lines.append(" ".join([name, text(x), text(y), text(re), text(im)]))
    print("\n".join(lines))


def sweep(count, seed):
    """At least count rows of "^" only, from the same families with another seed: a wider
    sample for measuring, read by the reference test through KX_EXPONENTIAL_TABLE."""
    rng = random.Random(seed)
    lines = ["# pow rows only; generate_exponential.py --sweep %d %d" % (count, seed)]
    while len(lines) <= count:
        for z, w in pow_arguments(rng):
            re, im = reference_pow(z, w)
            lines.append(" ".join(["pow", text(z.real), text(z.imag), text(w.real), text(w.imag), text(re), text(im)]))
    print("\n".join(lines))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--sweep":
        sweep(int(sys.argv[2]), int(sys.argv[3]))
    else:
        main()
