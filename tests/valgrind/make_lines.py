#!/usr/bin/env python3
"""Writes a reproducible corpus of calculator lines, one per line, for the memory checks.

Usage: make_lines.py [COUNT] > lines.txt

The mix: random well-formed expressions over numbers, constants, variables and every
function name; assignments that create and overwrite variables; broken lines for every
message; bytes at or above 0x80 and control characters; and a few long lines whose stacks
and messages spill to the heap. The same COUNT always gives the same lines.
"""
import random
import sys

FUNCTIONS = ("sin cos tan sec csc cot sinh cosh tanh sech csch coth asin acos atan asec "
             "acsc acot asinh acosh atanh asech acsch acoth sqrt exp ln log abs").split()
OPERATORS = ["+", "-", "*", "/", "%", "^"]
BRACKETS = [("(", ")"), ("[", "]"), ("{", "}")]
JUNK = "()[]{}+-*/%^=.,;:!?#$&|~'\"\\_0123456789eEdDiIxX \t"


def number(rng):
    form = rng.randrange(6)
    if form == 0:
        return str(rng.randrange(100))
    if form == 1:
        return f"{rng.uniform(0, 10):.{rng.randrange(1, 18)}f}"
    if form == 2:
        return f"{rng.randrange(1, 10)}{rng.choice('eEdD')}{rng.choice(['', '+', '-'])}{rng.randrange(400)}"
    if form == 3:
        return "." + str(rng.randrange(1000))
    if form == 4:
        return rng.choice(["pi", "e", "i", "PI", "tol"])
    return rng.choice(["x", "y", "zed", "Var", "undefined"])


def expression(rng, depth):
    if depth <= 0 or rng.random() < 0.3:
        return number(rng)
    form = rng.randrange(4)
    if form == 0:
        return expression(rng, depth - 1) + rng.choice(OPERATORS) + expression(rng, depth - 1)
    if form == 1:
        opening, closing = rng.choice(BRACKETS)
        return opening + expression(rng, depth - 1) + closing
    if form == 2:
        return rng.choice(FUNCTIONS) + rng.choice([" ", "(", ""]) + expression(rng, depth - 1)
    return rng.choice(["-", "+"]) + expression(rng, depth - 1)


def broken(rng):
    line = list(expression(rng, 3))
    for _ in range(rng.randrange(1, 4)):
        position = rng.randrange(len(line) + 1)
        line.insert(position, rng.choice(JUNK))
    return "".join(line)


def hostile(rng):
    pieces = [expression(rng, 2)]
    for _ in range(rng.randrange(1, 4)):
        pieces.insert(rng.randrange(len(pieces) + 1), chr(rng.choice([*range(1, 9), 11, 12, *range(14, 32), 127,
                                                                     *range(128, 256)])))
    return "".join(pieces)


def long_line(rng):
    size = rng.randrange(1000, 20000)
    form = rng.randrange(5)
    if form == 0:
        return "1" + "+1" * size
    if form == 1:
        return "(" * size + "2" + ")" * size
    if form == 2:
        return "-" * size + "3"
    if form == 3:
        return "2 " + "7" * size
    return "q" * size + "+1"


def assignment(rng):
    name = rng.choice(["x", "y", "zed", "Var", "tol", "pi", "sin", "a b", ""])
    if rng.random() < 0.2:
        name = "".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randrange(1, 30)))
    value = expression(rng, 3) if rng.random() < 0.8 else broken(rng)
    if name == "tol":
        value = rng.choice(["1e-10", "1e-6", "0.5", "-1", "1e-10"])
    return f"{rng.choice(['set', 'SET', 'Set'])} {name} = {value}"


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 3000
    rng = random.Random(20261207)
    kinds = [(expression, 40), (broken, 20), (hostile, 10), (assignment, 25), (long_line, 5)]
    makers = [maker for maker, weight in kinds for _ in range(weight)]
    out = sys.stdout.buffer
    for _ in range(count):
        maker = rng.choice(makers)
        line = expression(rng, 5) if maker is expression else maker(rng)
        out.write(line.encode("latin-1") + b"\n")


if __name__ == "__main__":
    main()
