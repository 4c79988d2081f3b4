#!/usr/bin/env python3
"""Random sweep of the functions against mpmath: the share of correctly rounded parts.

For random arguments x + iy in several regions (ordinary magnitudes, next to ±1 and ±i, on and
next to the axes, next to the unit circle, tiny and huge parts), mpmath gives each true part of
f(x + iy) and its nearest double R (ties to even, on the subnormal grid). The calculator then
evaluates `(f(x+y*i))-((R)+(I)*i)` at `set tol = 0`: both parts of a correctly rounded result
cancel exactly, and otherwise the printed difference is the error itself (the subtraction of two
doubles that close is exact). A true part that is zero must be a zero. A part whose true value is
not finite, or nonzero below 2^-1074·2^53 (deep in the subnormal range, 2^-1021 and below), is
not judged; the printed errors are read back in units of the last place of R.

Reported per function and region: the number of judged parts, the share correctly rounded, and
the worst error in ulps; then the arguments whose true parts lie closest to a halfway point
between two doubles (the hard cases), as rows of the reference tables
(`name in-re in-im expected-re expected-im`, hex doubles), for the parts that were correct.

The true values come from mpmath at 256 bits plus the spread of the parts' exponents, checked
against twice as many, and at 2600 bits more where those two round differently (mpmath's
formulas cancel at huge and tiny arguments and where one part is far smaller than the other).

Run:  python3 tools/reference/sweep_functions.py build/tools/kxcalc/kxcalc [points-per-region] [seed] [functions...]
"""
import math
import multiprocessing
import random
import subprocess
import sys

import mpmath as mp

FUNCTIONS = {
    "sin": mp.sin, "cos": mp.cos, "tan": mp.tan, "sec": mp.sec, "csc": mp.csc, "cot": mp.cot,
    "sinh": mp.sinh, "cosh": mp.cosh, "tanh": mp.tanh, "sech": mp.sech, "csch": mp.csch, "coth": mp.coth,
    "asin": mp.asin, "acos": mp.acos, "atan": mp.atan, "asec": mp.asec, "acsc": mp.acsc, "acot": mp.acot,
    "asinh": mp.asinh, "acosh": mp.acosh, "atanh": mp.atanh, "asech": mp.asech, "acsch": mp.acsch,
    "acoth": mp.acoth, "exp": mp.exp, "ln": mp.log, "log": mp.log10,
}
GROWING = {"sinh", "cosh", "tanh", "sech", "csch", "coth", "exp"}  # the real part grows
OSCILLATING = {"sin", "cos", "tan", "sec", "csc", "cot"}  # the imaginary part grows
SMALLEST_JUDGED = 2.0 ** -1021


def signed(rng, value):
    return value if rng.random() < 0.5 else -value


def ordinary(rng, name):
    return signed(rng, 10 ** rng.uniform(-3, 3)), signed(rng, 10 ** rng.uniform(-3, 3))


def near_one(rng, name):
    near = rng.choice([1.0, -1.0]) + signed(rng, 10 ** rng.uniform(-16, -1))
    return near, signed(rng, 10 ** rng.uniform(-16, -1))


def near_i(rng, name):
    x, y = near_one(rng, name)
    return y, x


def axes(rng, name):
    """Next to an axis: the other part 10^-18 to 10^-300 (on the axes the functions are the real
    functions, by their own rules, which the reference tables check)."""
    along = signed(rng, 10 ** rng.uniform(-5, 3))
    across = signed(rng, 10 ** rng.uniform(-300, -18))
    return (along, across) if rng.random() < 0.5 else (across, along)


def unit_circle(rng, name):
    angle = rng.uniform(-math.pi, math.pi)
    radius = 1 + signed(rng, 10 ** rng.uniform(-16, -3))
    return radius * math.cos(angle), radius * math.sin(angle)


def tiny(rng, name):
    return signed(rng, 10 ** rng.uniform(-300, -8)), signed(rng, 10 ** rng.uniform(-300, -8))


def huge(rng, name):
    """Far out: the growing part within the range where the result is finite."""
    big = signed(rng, 10 ** rng.uniform(1, math.log10(700)))
    if name in GROWING:
        return big, signed(rng, 10 ** rng.uniform(-3, 300))
    if name in OSCILLATING:
        return signed(rng, 10 ** rng.uniform(-3, 300)), big
    return signed(rng, 10 ** rng.uniform(8, 300)), signed(rng, 10 ** rng.uniform(8, 300))


REGIONS = {"ordinary": ordinary, "near ±1": near_one, "near ±i": near_i, "axes": axes,
           "unit circle": unit_circle, "tiny": tiny, "huge": huge}


def nearest_double(value):
    """(the double nearest value, ties to even; its ulp; value's distance from the nearest halfway
    point in ulps), or None when value rounds beyond the largest double."""
    if value == 0:
        return 0.0, 2.0 ** -1074, 0.5
    exponent = int(mp.floor(mp.log(abs(value), 2)))
    if mp.mpf(2) ** exponent > abs(value):  # log's rounding at an exact power of two
        exponent -= 1
    exponent = max(exponent, -1022)
    quantum = mp.mpf(2) ** (exponent - 52)
    scaled = value / quantum
    below = mp.floor(scaled)
    fraction = scaled - below
    whole = int(below) + (1 if fraction > 0.5 or (fraction == 0.5 and int(below) % 2) else 0)
    if exponent + (1 if abs(whole) == 2 ** 53 else 0) > 1023:
        return None
    return math.ldexp(whole, exponent - 52), math.ldexp(1.0, exponent - 52), float(abs(fraction - 0.5))


def working_bits(x, y):
    """Enough bits that a part far smaller than the other, or than 1, keeps its own digits."""
    exponents = [math.frexp(part)[1] for part in (x, y) if part != 0]
    spread = max(exponents) - min(exponents) + max(abs(exponent) for exponent in exponents)
    return 256 + min(spread, 2400)


def true_parts(function, x, y):
    rounded = []
    first = working_bits(x, y)
    for bits in (first, 2 * first, 2 * first + 2600):
        with mp.workprec(bits):
            value = function(mp.mpc(x, y))
            parts = (value.real, value.imag)
            if not all(mp.isfinite(part) for part in parts):
                return None
            rounded.append([nearest_double(part) for part in parts])
        if None in rounded[-1]:
            return None
        if len(rounded) == 2 and [part[0] for part in rounded[0]] == [part[0] for part in rounded[1]]:
            break
    return rounded[-1]


def judge_case(case):
    name, region, x, y = case
    return case, true_parts(FUNCTIONS[name], x, y)


def parse_result(text):
    """(real, imaginary) of a printed result, a left-out part as 0."""
    if text == "nan":
        return math.nan, math.nan
    if not text.endswith("i"):
        return float(text), 0.0
    body = text[:-1]
    cut = max((index for index in range(1, len(body)) if body[index] in "+-" and body[index - 1] != "e"), default=0)
    imaginary = body[cut:]
    if imaginary in ("", "+", "-"):
        imaginary += "1"
    return (float(body[:cut]) if cut else 0.0), float(imaginary)


def hex_double(value):
    return "inf" if value == math.inf else "-inf" if value == -math.inf else value.hex()


def main():
    calculator = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 11)
    names = sys.argv[4:] or list(FUNCTIONS)
    cases = [(name, region, *point(rng, name)) for name in names for region, point in REGIONS.items()
             for _ in range(count)]
    with multiprocessing.Pool() as pool:
        judged = [item for item in pool.imap(judge_case, cases, chunksize=64) if item[1] is not None]
    lines = ["set tol = 0"] + [
        f"({name}(({x!r})+({y!r})*i))-(({re[0]!r})+({im[0]!r})*i)" for (name, _, x, y), (re, im) in judged]
    output = subprocess.run([calculator], input="\n".join(lines) + "\n", capture_output=True, text=True,
                            check=True).stdout.splitlines()[1:]
    stats = {}
    hard = {}
    misses = []
    for ((name, region, x, y), parts), text in zip(judged, output):
        errors = parse_result(text)
        entry = stats.setdefault((name, region), [0, 0, 0.0])
        for (rounded, ulp, halfway), error in zip(parts, errors):
            if rounded != 0 and abs(rounded) < SMALLEST_JUDGED:
                continue
            entry[0] += 1
            ulps = abs(error) / ulp if error == error else math.inf
            entry[2] = max(entry[2], ulps)
            if error != 0 or error != error:
                entry[1] += 1
                if not misses or misses[-1][0] != (name, x, y):
                    misses.append(((name, x, y), f"{name}({x!r}{y:+}i): error {text}"))
            elif rounded != 0 and halfway < hard.get(name, (1.0,))[0]:
                hard[name] = (halfway, x, y, parts[0][0], parts[1][0])
    print(f"{'function':8} {'region':12} {'parts':>6} {'correctly rounded':>18} {'worst (ulp)':>12}")
    for (name, region), (parts, missed, worst) in stats.items():
        share = 100.0 * (parts - missed) / parts if parts else 100.0
        print(f"{name:8} {region:12} {parts:6} {share:17.3f}% {worst:12.3g}")
    total = sum(entry[0] for entry in stats.values())
    missed = sum(entry[1] for entry in stats.values())
    print(f"all parts: {total}, correctly rounded {total - missed} ({100.0 * (total - missed) / max(total, 1):.4f}%)")
    print("hard cases (distance of the true part from a halfway point, in ulps):")
    for name, (halfway, x, y, re, im) in hard.items():
        print(f"{name} {hex_double(x)} {hex_double(y)} {hex_double(re)} {hex_double(im)}   # {halfway:.3g}")
    for _, line in misses[:40]:
        print("missed:", line)
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main())
