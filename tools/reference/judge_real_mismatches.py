#!/usr/bin/env python3
"""Judges the mismatches listed by the agreement test against mpmath.

Reads the output of
    KX_LIST_MISMATCHES=1 build/tests/real/real_test --gtest_filter='RealFunctionsAgreement.*'
on standard input (MISMATCH lines: arguments, the portable result, the C library's, each as %a text,
followed by each range's summary line) and prints, per range, how often each result was
the closer to the exact value (mpmath at 400 bits), and every case the C library won.
"""
import sys
from mpmath import mp, mpf, log, log1p, atan, atan2, asin, acos, asinh, acosh, hypot
mp.prec = 400
stats = {}
pending = []
items = []
for line in sys.stdin:
    if line.startswith("  "):
        cur = line.split(":")[0].strip(); stats[cur] = [0, 0, 0]
        items += [(cur, l) for l in pending]; pending = []; continue
    pending.append(line)
for cur, line in items:
    parts = line.split()[1:]
    parts = [p.rstrip(',') for p in parts]
    args = [float.fromhex(p) for p in parts[:-2]]
    ours, ref = float.fromhex(parts[-2]), float.fromhex(parts[-1])
    fn = cur.split(",")[0]
    f = {"log": log, "log1p": log1p, "atan": atan, "asinh": asinh, "acosh": acosh, "asin": asin, "acos": acos,
         "atan2": lambda y, x: atan2(y, x), "hypot": hypot}[fn]
    exact = f(*[mpf(a) for a in args])
    eo, er = abs(mpf(ours) - exact), abs(mpf(ref) - exact)
    if eo < er: stats[cur][0] += 1
    elif er < eo: stats[cur][1] += 1; print("WE LOSE", line.strip())
    else: stats[cur][2] += 1
for k, v in stats.items():
    if sum(v): print(k, "ours closer:", v[0], "libm closer:", v[1], "tie:", v[2])
