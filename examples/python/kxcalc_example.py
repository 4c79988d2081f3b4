#!/usr/bin/env python3
"""Evaluate kxcalc lines from Python through ctypes, with an installed shared library.

    python3 kxcalc_example.py [--library PATH] [LINE]...

Loads the shared library (from --library, else $KXCALC_LIBRARY, else the system's
libkxcalc.so.1) and prints the answer to each LINE, or to each line of standard input.

For a program of your own, the kxcalc package in python/ is the better way: it carries its
own build of the library and a call costs about a microsecond less. This is the way for a
system that has the library installed (the Debian package, say) and nothing to compile with.
"""
import argparse
import ctypes
import ctypes.util
import os
import sys

# kx_calc overwrites the buffer it is given, which must hold at least 64 bytes.
MINIMUM_BUFFER = 64
MESSAGE_STARTS = ("Parse Error", "Syntax error", "Syntax Error", "Ran Out of Data", "Out of memory")


class Calculator:
    """One loaded library: its variables last as long as the library stays loaded."""

    def __init__(self, library_path=None):
        path = library_path or os.environ.get("KXCALC_LIBRARY") or ctypes.util.find_library("kxcalc")
        self._library = ctypes.CDLL(path or "libkxcalc.so.1")
        self._kx_calc = self._library.kx_calc
        self._kx_calc.argtypes = [ctypes.c_char_p]  # a writable buffer, see calculate()
        self._kx_calc.restype = ctypes.c_char_p

    def calculate(self, line):
        """The text kx_calc gives for one line: a result such as '3+4i', or a message."""
        data = line.encode("latin-1")
        buffer = ctypes.create_string_buffer(data, max(MINIMUM_BUFFER, len(data) + 1))
        return self._kx_calc(buffer).decode("latin-1")

    @staticmethod
    def is_message(text):
        """A result is told from an error message only by its first words."""
        return text.startswith(MESSAGE_STARTS)


def main():
    parser = argparse.ArgumentParser(description="Evaluate kxcalc lines through ctypes.")
    parser.add_argument("--library", help="path of libkxcalc.so")
    parser.add_argument("lines", nargs="*", help="lines to evaluate (default: standard input)")
    arguments = parser.parse_args()

    calculator = Calculator(arguments.library)
    lines = arguments.lines or (line.rstrip("\r\n") for line in sys.stdin)
    all_results = True
    for line in lines:
        answer = calculator.calculate(line)
        all_results = all_results and not calculator.is_message(answer)
        print(answer)
    return 0 if all_results else 1


if __name__ == "__main__":
    sys.exit(main())
