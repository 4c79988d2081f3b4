#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: one file per input, named after its content.

An input is a session of lines separated by NUL bytes. The seeds cover every kind of token,
every message, the number syntax, the functions, assignments followed by their use, and the
hostile lines the calculator must answer calmly (high bytes, control characters, huge
exponents, very long numbers, deep brackets). Run from anywhere; rewrites fuzz/corpus/.
"""
import hashlib
import pathlib

ORDINARY = [
    "5", ".5", "5.", "1e3", "1d3", "1D3", "2.5e-1", "1E+2", "0.1", "123456789012345678",
    "1e15", "999999999999999", "0.0001", "0.00001", "1e20", "1e-5", "1e100", "1e-310",
    "1.7976931348623157e308", "1e309", "-1e309", "00012", "3.14159265358979323846",
    "pi", "PI", "e", "i", "-i", "tol", "3+4*i", "3-4*i", "2+i", "2-i", "0", "-0",
    "1e-12+1e-11*i", "1e-12+2*i", "2+1.0000000000000002*i", "1e20*i", "1+1e309*i",
    "1/0", "0/0", "7 % 0", "1e309-1e309", "2-3-4", "2/2/2", "1+2*3", "(1+2)*3", "2^3^2",
    "2*3^2", "-2^2", "2^-2", "2--3", "-(2+3)", "+-+-2", "(1+2", "(1+2]", "[2]*{3}",
    "2*(3+(4-1)*2)", "7 % 3 + i", "(5+7*i) % (3+2*i)", "(1+2*i)/(3+4*i)", "(1+i)/(1-i)",
    "(3+4*i)*(3+4*i)", "1e308*10", "sin 2*3", "sin 2^2", "sin(2)^2", "(sin 2)^2",
    "sin cos 0", "2*sin(pi/6)", "(3+4*i)^2", "sqrt(-4)", "exp(i*pi)", "ln(-1)", "log(100)",
    "abs(3+4*i)", "tan(pi/4)", "sec 1", "csc 1", "cot 1", "sinh 1", "cosh(1+i)", "tanh 20",
    "sech 1", "csch 1", "coth 1", "asin 2", "acos(-2)", "atan(i)", "asec 0.5", "acsc 2",
    "acot 0", "asinh i", "acosh 0.5", "atanh 1", "asech 2", "acsch i", "acoth 1",
    "0^0", "0^-1", "(-8)^(1/3)", "i^i", "e^(i*pi)", "10^308*10", "sqrt(-0)", "ln 0",
]

MESSAGES = [
    "2 3", "2 3X", "2 (3)", "()", "2)", "2]", "2i", "2pi", "2x", "2sin(1)", "*3", "2+*3",
    "= 3", "2**3", "1.2.3", "1 .", ".", "0x10", "5e", "x2", "foo+1", "3*foo", "3*foo*2",
    "2+", "-", "", "   ", "(((", "foo bar", "sin", "sinx", "set x", "set\tx = 2",
    "2 # comment", "2 + 3 $",
    "1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21 22 23 24 25 26 27",
    "1 234567890123456789012345678901234567890123456789012345678901234567890",
    "x y", "= ", "set = 5", "set  =  ", "set x = ", "set x = 2 3", "set x = (",
]

HOSTILE = [
    "\x80" "1", "1 \x80", "\xff\xfe\xfd", "1+\xc3\xa9", "\x01", "1\x02+2", "\x7f", "\x1b[31m1",
    "\t\n\v\f\r1", "1\r\n", "set ", "set =", "SET =", "set", "set=", "1e999999999",
    "1e-999999999", "1d999999999999999999999", "0e999999999999999999999", "1e+", "1e-", "1ee5",
    ".e5", "1.e5", "9" * 400, "0." + "0" * 400 + "1", "1" + "0" * 400 + "e-400",
    "(" * 2000 + "1" + ")" * 2000, "-" * 2000 + "1", "a" * 2000, "1+" * 1000 + "1",
    ")" * 10, "(" * 10 + ")", "1" + ")" * 3, "{[()]}", "]", "%", "^", "^^", "1^", "--", "++1",
    "1" * 100000,
]

SESSIONS = [
    ["set x = 2+i", "x*x", "X/(1-i)"],
    ["set tol = 2", "1.5+i", "1.5+1.5*i"],
    ["set tol = -1", "0", "i"],
    ["set pi = 3", "pi"],
    ["set sin = 1", "sin 0"],
    ["set a b = 1", "a b"],
    ["set x = 3", "set x = x*x", "x"],
    ["set abc = 1e309", "abc-abc", "set abc = 0/0", "abc"],
    ["set x = 1", "set y = x+1", "set z = y 2", "z", "y"],
    ["set tol = 1e-6", "tol", "set tol = tol*1e300*1e300", "1"],
]


def write(directory, data):
    name = hashlib.sha1(data).hexdigest()[:16]
    (directory / name).write_bytes(data)


def main():
    directory = pathlib.Path(__file__).resolve().parent / "corpus"
    directory.mkdir(exist_ok=True)
    for old in directory.iterdir():
        old.unlink()
    for line in ORDINARY + MESSAGES + HOSTILE:
        write(directory, line.encode("latin-1"))
    for session in SESSIONS:
        write(directory, b"\0".join(line.encode("latin-1") for line in session))


if __name__ == "__main__":
    main()
