#!/usr/bin/env python3
"""Reference values for the circular, hyperbolic and inverse functions.

Writes circular.txt (sin ... coth) and inverse.txt (asin ... acoth) into tests/reference/, in
the format of tests/support/reference_table.h: one case per line,
    name  in-re  in-im  expected-re  expected-im
with every number written exactly by float.hex(). The expected values are mpmath's,
rounded once to the nearest double (on the subnormal grid below 2^-1022, by
double_rounding.round_to_double), at the first of 2500, 5000 and 12000 bits whose rounded
value agrees with the next (mpmath's complex formulas cancel at tiny and huge arguments, so a
fixed working precision is not enough there).

The points: near 0, ordinary magnitudes, near the poles and the multiples of pi/2, near
the overflow thresholds of cosh and sinh (709.78, 710.48) and far beyond, huge real parts
of the oscillating argument; for the inverse functions also near the branch points +-1
and +-i, just above and below every cut (offsets of 1e-300 ... 1e-3, never an exact zero
part, where mpmath and IEEE signed-zero conventions could choose different sides), near the
unit circle, and tiny and huge magnitudes. A fixed seed makes the output reproducible.

The six reciprocal inverse functions are expected to give their true value at z (mpmath's
asec, acsc, acot, asech, acsch, acoth, the inner function of the exact 1/z), also next to
their branch points, where the rounding of 1/z to doubles alone would move the value by far
more than an ulp. Their real-axis and imaginary-axis rows are added where the value is real
or imaginary: there the calculator computes them from z as well; so are atanh's real axis
and atan's imaginary axis, and arguments whose parts lie next to a halfway point between two
doubles.

The quotients tan, cot, tanh and coth also get points far from both axes (growing part 20 to
700), where the small part of the result is many orders below the large one and is judged
on its own.

Every circular function also gets its hard points (HARD below): arguments with a part near a
halfway point between two doubles, within about 2^-24 ulp (the nearest of millions of
random arguments) or 2^-50 ulp (a small second part solved for, so that its quadratic effect
moves the part onto a halfway point, then rounded to a double): a fast or accurate path whose
error bound is too small to cover them rounds them wrongly.

Run:  python3 tools/reference/generate_circular.py
"""
import math
import os
import random

import mpmath as mp

from double_rounding import round_to_double

TABLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "reference")


def hexf(value):
    return float(value).hex()


def rounded_part(value):
    """The double nearest to value; a value that rounds to zero keeps its sign."""
    return math.copysign(round_to_double(value), value)


def evaluate(function, x, y):
    """function(x + iy) rounded to a pair of doubles, at a precision that settles it."""
    previous = None
    for bits in (2500, 5000, 12000):
        with mp.workprec(bits):
            value = function(mp.mpc(x, y))
            rounded = (rounded_part(value.real), rounded_part(value.imag))
        if rounded == previous:
            return rounded
        previous = rounded
    raise RuntimeError(f"no settled value for {function.__name__}({x!r}, {y!r})")


def signed(rng, value):
    return value if rng.random() < 0.5 else -value


# ---------------------------------------------------------------------------------------
# Circular and hyperbolic functions

CIRCULAR = {
    "sin": mp.sin, "cos": mp.cos, "tan": mp.tan, "sec": mp.sec, "csc": mp.csc, "cot": mp.cot,
    "sinh": mp.sinh, "cosh": mp.cosh, "tanh": mp.tanh, "sech": mp.sech, "csch": mp.csch, "coth": mp.coth,
}
HYPERBOLIC = {"sinh", "cosh", "tanh", "sech", "csch", "coth"}

# The part that enters the real sine and cosine, and the part that enters cosh and sinh.
OSCILLATING = [0.0, 1e-300, 1e-20, 1e-8, 0.5, 1.0, math.pi / 2, 3.0, math.pi, 10.0, 1e5, 1e22, 1e300]
GROWING = [0.0, 1e-300, 1e-8, 0.5, 1.0, 5.0, 19.5, 39.0, 41.0, 300.0, 709.0, 709.9, 710.3, 711.0, 800.0, 1460.0]


def circular_points(rng):
    points = []
    for t in OSCILLATING:
        for g in GROWING:
            points.append((signed(rng, t), signed(rng, g)))
    for _ in range(90):
        points.append((signed(rng, 10 ** rng.uniform(-10, 3)), signed(rng, 10 ** rng.uniform(-10, 2.9))))
    # far from both axes: the small part of a quotient is judged on its own
    for _ in range(60):
        points.append((signed(rng, rng.uniform(0.1, 400.0)), signed(rng, rng.uniform(18.0, 700.0))))
    points += [(-338.199847101286, 250.66711592424954), (0.0687, -6.99), (1.0, 21.9), (2.0, 22.1), (3.0, -19.0)]
    return points


# Arguments (re, im) with a part near a halfway point (see the module's docstring).
HARD = {
    "sin": ["-0x1.1bc4e9487afap+8 0x1.65bb77831b288p+2", "-0x1.de5730fcf9528p-2 -0x1.19a7c3f18c39cp+4",
            "0x1.fb81a27e1897ap+0 0x1.bf870aa83049cp-29", "0x1.95c5d6b4ef9bfp-2 0x1.17537a01c301cp-27"],
    "cos": ["-0x1.f177c1a18b9a9p+1 -0x1.0db5acd80f1ep+0", "-0x1.6ed7f8fe2708p-4 -0x1.fcd3c68155d9dp-1",
            "0x1.e5456b38c923ep+0 0x1.4fea450585b0fp-26", "-0x1.03af4ffcb514cp+1 0x1.a4b303cf7fa73p-27"],
    "tan": ["-0x1.33a312906cda2p-21 0x1.94b13d0915f1fp-6", "0x1.c7976742473f2p+1 -0x1.6ddc044a0bdb8p+1",
            "0x1.9914cad2b1007p-25 0x1.388e8b0af0c95p+1", "0x1.660b301dfb739p-28 0x1.b31e364528866p-1"],
    "sec": ["-0x1.a19cad63cc62fp-1 -0x1.1d07a3d074106p-1", "0x1.36a81f52092e7p+8 0x1.17de87660f25ep+4",
            "0x1.6e4783ad75900p+1 0x1.0a24de55de740p-28", "-0x1.26b3ea0ceed49p+1 0x1.d0304fdfcec01p-28"],
    "csc": ["-0x1.b6aaa8f5935ap+1 -0x1.f48a0cab7fad2p+0", "0x1.7b855accce8a9p-1 -0x1.90cae9092be4cp+4",
            "-0x1.0678b88288d82p+0 0x1.cf3dfa4377053p-27", "-0x1.6dd30eaa9c7a2p-1 0x1.7e67b01639d74p-29"],
    "cot": ["0x1.fd3fda8bf771p+15 -0x1.179ece0ea0cd7p+4", "0x1.1f6f8231ac152p+1 -0x1.23effdd4472f6p+1",
            "0x1.229049245be85p-24 -0x1.2ceae01d54374p+1", "0x1.9a86a7d79c288p-26 0x1.9fa305b905cc4p+0"],
    "sinh": ["0x1.65bb77831b288p+2 -0x1.1bc4e9487afap+8", "-0x1.19a7c3f18c39cp+4 -0x1.de5730fcf9528p-2",
             "-0x1.bf870aa83049cp-29 0x1.fb81a27e1897ap+0", "-0x1.17537a01c301cp-27 0x1.95c5d6b4ef9bfp-2"],
    "cosh": ["-0x1.0db5acd80f1ep+0 -0x1.f177c1a18b9a9p+1", "-0x1.fcd3c68155d9dp-1 -0x1.6ed7f8fe2708p-4",
             "0x1.929c347ee8f41p-27 0x1.5293abd04ee7cp+0", "0x1.57bcf92f8ca84p-27 0x1.6e0a6bfad0ffcp+0"],
    "tanh": ["0x1.94b13d0915f1fp-6 -0x1.33a312906cda2p-21", "-0x1.6ddc044a0bdb8p+1 0x1.c7976742473f2p+1",
             "-0x1.388e8b0af0c95p+1 0x1.9914cad2b1007p-25", "-0x1.b31e364528866p-1 0x1.660b301dfb739p-28"],
    "sech": ["-0x1.1d07a3d074106p-1 -0x1.a19cad63cc62fp-1", "0x1.17de87660f25ep+4 0x1.36a81f52092e7p+8",
             "0x1.88984fbb3e6c7p-28 0x1.1e437a3f2f4bdp+1", "0x1.eb54db903cbb5p-28 0x1.b4c919fa7c1aap-1"],
    "csch": ["-0x1.f48a0cab7fad2p+0 -0x1.b6aaa8f5935ap+1", "-0x1.90cae9092be4cp+4 0x1.7b855accce8a9p-1",
             "-0x1.cf3dfa4377053p-27 -0x1.0678b88288d82p+0", "-0x1.7e67b01639d74p-29 -0x1.6dd30eaa9c7a2p-1"],
    "coth": ["-0x1.179ece0ea0cd7p+4 0x1.fd3fda8bf771p+15", "-0x1.23effdd4472f6p+1 0x1.1f6f8231ac152p+1",
             "0x1.2ceae01d54374p+1 0x1.229049245be85p-24", "-0x1.9fa305b905cc4p+0 0x1.9a86a7d79c288p-26"],
}


def circular_lines():
    rng = random.Random(20261207)
    lines = []
    points = circular_points(rng)
    for name, function in CIRCULAR.items():
        for t, g in points:
            x, y = (g, t) if name in HYPERBOLIC else (t, g)
            if x == 0.0 and y == 0.0 and name in ("csc", "cot", "csch", "coth"):
                continue  # the pole itself: the default NaN pair, tested exactly elsewhere
            value = evaluate(function, x, y)
            lines.append(f"{name} {hexf(x)} {hexf(y)} {hexf(value[0])} {hexf(value[1])}")
        for argument in HARD[name]:
            x, y = (float.fromhex(part) for part in argument.split())
            value = evaluate(function, x, y)
            lines.append(f"{name} {hexf(x)} {hexf(y)} {hexf(value[0])} {hexf(value[1])}")
    return lines


# ---------------------------------------------------------------------------------------
# Inverse functions

def reciprocal(u, v):
    """1/(u + iv) in IEEE doubles, exactly as the calculator forms it."""
    if math.isnan(u) or math.isnan(v):
        return None
    if abs(v) < abs(u):
        r = v / u
        d = u + r * v
        if math.isnan(d) or d == 0.0:
            return None
        return (1.0 / d, (-r) / d)
    if v == 0.0:
        return None
    r = u / v
    d = v + r * u
    if math.isnan(d) or d == 0.0:
        return None
    return (r / d, (-1.0) / d)


DIRECT = {
    "asin": mp.asin, "acos": mp.acos, "atan": mp.atan,
    "asinh": mp.asinh, "acosh": mp.acosh, "atanh": mp.atanh,
}
RECIPROCAL = {"asec": "acos", "acsc": "asin", "acot": "atan", "asech": "acosh", "acsch": "asinh", "acoth": "atanh"}
OFFSETS = [1e-300, 1e-20, 1e-10, 1e-3]


def inverse_points(rng):
    points = []
    # near 0 and tiny magnitudes
    for a, b in [(1e-300, 1e-300), (1e-10, 1e-10), (1e-20, 0.5), (0.5, 1e-20), (3e-8, 2e-8), (1e-200, 1e-100)]:
        points += [(a, b), (-a, b), (a, -b), (-a, -b)]
    # near the branch points +-1 and +-i, from all sides
    for d in [0.0, 1e-10, 1e-5, 0.01]:
        for e in OFFSETS:
            for base in (1.0, -1.0):
                points += [(base + d, e), (base - d, -e), (base + d, -e), (base - d, e)]
                points += [(e, base + d), (-e, base - d), (-e, base + d), (e, base - d)]
    # just above and below the cuts on both axes, inside and outside [-1, 1]
    for t in [0.3, 0.9, -0.7, 1.5, 2.0, -3.0, 10.0, 1e10, -1e200]:
        for e in [1e-300, 1e-10]:
            points += [(t, e), (t, -e), (e, t), (-e, t)]
    # near the unit circle (atan's real part cancels there)
    for angle in [0.1, 0.7, 1.2, 2.5, -0.4, -2.9]:
        for scale in [1 - 1e-10, 1 + 1e-10, 1 - 2 ** -40]:
            points.append((scale * math.cos(angle), scale * math.sin(angle)))
    # large magnitudes
    for a, b in [(1e10, 1e10), (1e200, 1.0), (1.0, 1e200), (1e300, 1e300), (-1e300, 1e-300), (3e160, -2e155),
                 (1e8, -1.0), (-1.0, 1e8)]:
        points += [(a, b), (-b, a)]
    # ordinary values
    for _ in range(110):
        points.append((signed(rng, 10 ** rng.uniform(-12, 12)), signed(rng, 10 ** rng.uniform(-12, 12))))
    for _ in range(60):
        points.append((rng.uniform(-3, 3), rng.uniform(-3, 3)))
    return points


# Real arguments next to +-1 and elsewhere, for the reciprocal functions' axis rows.
AXIS_VALUES = [1.0, 1.0000000001, 1 + 2 ** -52, 1 + 2 ** -30, 1.00001, 1.001, 1.5, 2.0, 10.0, 1e10, 1e150,
               0.9999999999, 1 - 2 ** -53, 1 - 2 ** -30, 0.99999, 0.999, 0.5, 0.1, 1e-5, 1e-150]
# (name, axis): where the reciprocal function is real on the real axis, or imaginary on the imaginary axis.
AXIS_DOMAINS = [("asec", "re", lambda t: abs(t) >= 1), ("acsc", "re", lambda t: abs(t) >= 1),
                ("acot", "re", lambda t: True), ("asech", "re", lambda t: 0 < t <= 1),
                ("acsch", "re", lambda t: True), ("acoth", "re", lambda t: abs(t) > 1),
                ("acot", "im", lambda t: abs(t) > 1), ("acsch", "im", lambda t: abs(t) >= 1)]


# The direct functions' axes whose parts the calculator forms itself: atanh on the real axis
# and atan on the imaginary axis, inside (-1, 1).
AXIS_DOMAINS += [("atanh", "re", lambda t: abs(t) < 1), ("atan", "im", lambda t: abs(t) < 1)]

# Arguments whose parts lie within about 1e-5 ulp of a point halfway between two doubles
# (found among random arguments where the calculator's double-double evaluation could not
# decide the rounding), for the function named.
HARD_POINTS = [
    ("acos", "0x1.0a2b9c0f306f8p+1", "-0x1.315f7505ad8bap+0"), ("acos", "-0x1.24731cc943beep+0", "0x1.3fe86999d1370p+1"),
    ("acos", "-0x1.ffffbae8c9e06p-1", "-0x1.335665f13d2ebp-26"), ("acosh", "0x1.0a2b9c0f306f8p+1", "-0x1.315f7505ad8bap+0"),
    ("acot", "-0x1.fa5fc2910d56ap-35", "0x1.1265530f1df53p+1"), ("acot", "0x1.e27983709ac98p+18", "0x1.40ee796941eacp-36"),
    ("acot", "-0x1.76563717810dcp+0", "-0x1.138211870f0fep+0"), ("acoth", "-0x1.47c88eebb81b3p+1", "-0x1.00c0948ebfbf4p+1"),
    ("acoth", "0x1.eef9297d6e866p-31", "-0x1.ffffffffffff1p-1"), ("acoth", "-0x1.47991b1d24748p-18", "0x1.013a036d4927ap+0"),
    ("acsc", "0x1.63dba0b3a1938p+0", "-0x1.4fa70d7f5fe50p-2"), ("acsc", "0x1.2a33d705fbfdcp+1", "0x1.c511b6edd8208p-1"),
    ("acsch", "0x1.000fd9d0c7467p+0", "0x1.213172530df10p-51"), ("acsch", "-0x1.3ee76f30868d8p+0", "0x1.de0aeb56c7130p-764"),
    ("asec", "0x1.24fa31d777492p-1", "0x1.a3e40bcd4e8b6p-1"), ("asec", "0x1.1db2ee097cb54p+1", "-0x1.5b67fe691267ep+0"),
    ("asech", "0x1.24fa31d777492p-1", "0x1.a3e40bcd4e8b6p-1"), ("asin", "0x1.640c3e2c0e1c0p-1", "0x1.8ee4bd2382f4ap-626"),
    ("asin", "0x1.ff61777a78062p-1", "0x1.92ca47cc0d4ebp-5"), ("asinh", "-0x1.884af1893a50fp+30", "0x1.bb121714acd91p-2"),
    ("asinh", "-0x1.95e9d7d98dd98p+8", "0x1.aaea0521743f9p+12"), ("atan", "0x1.88ffb50dac51ap+0", "0x1.b40f246dd147ap-16"),
    ("atan", "-0x1.0000000000007p+0", "0x1.5a7bd7cbaf45cp-28"), ("atanh", "0x1.b8a76548ce7f4p+0", "0x1.1b734ef488f80p-3"),
    ("atanh", "0x1.7cd07ce047830p-2", "-0x1.430c53564bf9ap+0"),
]


def hard_lines():
    lines = []
    for name, x, y in HARD_POINTS:
        x, y = float.fromhex(x), float.fromhex(y)
        value = evaluate(getattr(mp, name), x, y)
        lines.append(f"{name} {hexf(x)} {hexf(y)} {hexf(value[0])} {hexf(value[1])}")
    return lines


def reciprocal_axis_lines():
    lines = []
    for name, axis, inside in AXIS_DOMAINS:
        function = getattr(mp, name)
        for t in AXIS_VALUES + [-t for t in AXIS_VALUES]:
            if not inside(t):
                continue
            x, y = (t, 0.0) if axis == "re" else (0.0, t)
            value = evaluate(function, x, y)
            lines.append(f"{name} {hexf(x)} {hexf(y)} {hexf(value[0])} {hexf(value[1])}")
    return lines


def inverse_lines():
    rng = random.Random(19971987)
    lines = []
    points = inverse_points(rng)
    # asec next to its branch point 1 and acot next to -i, where the rounding of 1/z alone
    # would move the value by far more than an ulp
    points += [(0.9999999999979005, -1.844346147581579e-12), (1.503681298440855e-11, -0.9999999999931247)]
    for name in ["asin", "acos", "atan", "asec", "acsc", "acot", "asinh", "acosh", "atanh", "asech", "acsch",
                 "acoth"]:
        for x, y in points:
            if name in RECIPROCAL:
                w = reciprocal(x, y)
                if w is None or w[0] == 0.0 or w[1] == 0.0:
                    continue  # an axis of the inner function: its chosen values, tested exactly elsewhere
                value = evaluate(getattr(mp, name), x, y)
            else:
                value = evaluate(DIRECT[name], x, y)
            lines.append(f"{name} {hexf(x)} {hexf(y)} {hexf(value[0])} {hexf(value[1])}")
    return lines + reciprocal_axis_lines() + hard_lines()


def write(file_name, lines):
    with open(os.path.join(TABLES, file_name), "w") as out:
        out.write(f"# Generated by generate_circular.py with mpmath {mp.__version__}.\n")
        out.write("# name in-re in-im expected-re expected-im\n")
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    write("circular.txt", circular_lines())
    write("inverse.txt", inverse_lines())
