#!/usr/bin/env python3
"""Random sweep of the 29 functions against mpmath, judged on the printed text.

For random arguments x + iy (both parts nonzero doubles, written with enough digits that the
calculator reads the same doubles), the calculator prints each result with tol = 0. Each
printed part must be one of the two 15-significant-digit decimals around the true part of f
at those doubles, judged against that part alone; a part below 1e-290 in magnitude, or a
true result that is not finite, is not judged. The true values are mpmath's, at 2600 bits where that agrees with
1200 bits to far below the 15th digit (mpmath's formulas cancel at huge and tiny arguments).

Reported per function and part: the number of judged results, how many miss the goal, and
the worst distance between the printed and the true part in units of the 15th significant
digit (at most 0.5 for a correctly rounded text; a text that is one of the two decimals
around the true part is below 1).

Run:  python3 tools/reference/sweep_functions.py build/tools/kxcalc/kxcalc [points-per-function] [seed]
"""
import decimal
import math
import random
import subprocess
import sys

import mpmath as mp

FUNCTIONS = {
    "sin": mp.sin, "cos": mp.cos, "tan": mp.tan, "sec": mp.sec, "csc": mp.csc, "cot": mp.cot,
    "sinh": mp.sinh, "cosh": mp.cosh, "tanh": mp.tanh, "sech": mp.sech, "csch": mp.csch, "coth": mp.coth,
    "asin": mp.asin, "acos": mp.acos, "atan": mp.atan, "asec": mp.asec, "acsc": mp.acsc, "acot": mp.acot,
    "asinh": mp.asinh, "acosh": mp.acosh, "atanh": mp.atanh, "asech": mp.asech, "acsch": mp.acsch,
    "acoth": mp.acoth,
    "sqrt": mp.sqrt, "exp": mp.exp, "ln": mp.log, "log": mp.log10, "abs": lambda z: mp.mpc(abs(z), 0),
}
GROWING = {"sinh", "cosh", "tanh", "sech", "csch", "coth", "exp"}  # the real part grows
OSCILLATING = {"sin", "cos", "tan", "sec", "csc", "cot"}  # the imaginary part grows
SMALLEST_JUDGED = 1e-290
LARGEST_DOUBLE = 1.7976931348623157e308


def signed(rng, value):
    return value if rng.random() < 0.5 else -value


def point(rng, name):
    """One argument: ordinary magnitudes, next to the special points 0, ±1, ±i, or far out."""
    kind = rng.random()
    if kind < 0.45:
        return signed(rng, 10 ** rng.uniform(-8, 4)), signed(rng, 10 ** rng.uniform(-8, 4))
    if kind < 0.8:  # next to ±1 or ±i, from every side
        base = rng.choice([1.0, -1.0])
        near = base + signed(rng, 10 ** rng.uniform(-15, -1))
        off = signed(rng, 10 ** rng.uniform(-15, -1))
        return (near, off) if rng.random() < 0.5 else (off, near)
    # far from both axes: a large growing part (tanh(250-338i)) or large magnitudes
    big = signed(rng, rng.uniform(1.0, 700.0))
    other = signed(rng, 10 ** rng.uniform(-3, 3))
    if name in GROWING:
        return big, other
    if name in OSCILLATING:
        return other, big
    return signed(rng, 10 ** rng.uniform(-3, 150)), signed(rng, 10 ** rng.uniform(-3, 150))


def true_value(function, x, y):
    results = []
    for bits in (1200, 2600):  # mpmath's complex formulas cancel at huge and tiny arguments
        with mp.workprec(bits):
            value = function(mp.mpc(x, y))
            results.append((value.real, value.imag))
    (re1, im1), (re2, im2) = results
    for a, b in ((re1, re2), (im1, im2)):
        if a != b and abs(a - b) > abs(b) * mp.mpf(2) ** -80:
            return None  # not settled: not judged
    return results[1]


def parse_result(text):
    """(real text, imaginary text) of a printed result; a left-out part is None."""
    if text.endswith("i"):
        body = text[:-1]
        cut = max((index for index in range(1, len(body)) if body[index] in "+-" and body[index - 1] != "e"), default=0)
        real, imaginary = body[:cut] or None, body[cut:]
        if imaginary in ("", "+", "-"):
            imaginary += "1"
        return real, imaginary
    return text, None


def units_of_15th_digit(printed, true):
    """|printed - true| in units of the 15th significant digit of the true part."""
    exponent = int(mp.floor(mp.log10(abs(true))))
    unit = mp.mpf(10) ** (exponent - 14)
    return float(abs(mp.mpf(printed) - true) / unit)


def within_goal(printed, true):
    """printed is one of the two 15-digit decimals around true."""
    exponent = int(mp.floor(mp.log10(abs(true))))
    unit = mp.mpf(10) ** (exponent - 14)
    below = mp.floor(true / unit) * unit
    value = mp.mpf(printed)
    tolerance = unit * mp.mpf(10) ** -6  # the decimal texts are exact to far below this
    return abs(value - below) < tolerance or abs(value - (below + unit)) < tolerance


def main():
    calculator = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 11)
    mp.mp.dps = 50
    cases = []
    for name in FUNCTIONS:
        for _ in range(count):
            x, y = point(rng, name)
            cases.append((name, x, y))
    lines = ["set tol = 0"] + [f"{name}(({x!r})+({y!r})*i)" for name, x, y in cases]
    output = subprocess.run([calculator], input="\n".join(lines) + "\n", capture_output=True, text=True,
                            check=True).stdout.splitlines()[1:]
    stats = {}
    failures = []
    for (name, x, y), text in zip(cases, output):
        value = true_value(FUNCTIONS[name], x, y)
        if value is None or not all(abs(part) <= LARGEST_DOUBLE for part in value):
            continue
        printed = parse_result(text)
        for part, (shown, true) in enumerate(zip(printed, value)):
            if true != 0 and abs(true) < SMALLEST_JUDGED:
                continue
            entry = stats.setdefault((name, part), [0, 0, 0.0])
            entry[0] += 1
            if true == 0:
                ok = shown is None or float(shown) == 0.0
                error = 0.0 if ok else math.inf
            elif shown is None or shown in ("nan", "+nan", "-nan") or "inf" in shown:
                ok, error = False, math.inf
            else:
                ok, error = within_goal(shown, true), units_of_15th_digit(shown, true)
            entry[2] = max(entry[2], error)
            if not ok:
                entry[1] += 1
                failures.append(f"{name}({x!r}, {y!r}) part {'re im'.split()[part]}: printed {text}, "
                                f"true {mp.nstr(true, 17)}")
    print(f"{'function':8} {'part':4} {'judged':>6} {'missed':>6} {'worst (units of 15th digit)':>28}")
    for (name, part), (judged, missed, worst) in sorted(stats.items(), key=lambda item: list(FUNCTIONS).index(
            item[0][0]) * 2 + item[0][1]):
        print(f"{name:8} {'re im'.split()[part]:4} {judged:6} {missed:6} {worst:28.3f}")
    for line in failures[:40]:
        print("missed:", line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
