#!/usr/bin/env python3
"""python_bench: the cost of one kxcalc.calc call from Python over bench/corpus.txt, beside
the native call of kx_calc, a ctypes call of the shared library and Python's own eval of
the same lines over cmath, in one run, the repetitions of all of them interleaved.

    python3 bench/python_bench.py [--repetitions N] [--build build-bench]
    python3 bench/python_bench.py --instructions [--build build-bench]

Runs with an interpreter that has kxcalc installed (python/README.md). The native figure is
calc_bench's "kxcalc/all" (ns per line, the line copied into the buffer first, as here),
and the ctypes one loads libkxcalc.so; both come from the CMake build folder given, which
bench/run.sh makes (build-bench): without it they are left out. The best repetition of
each is reported: on a shared machine the best is the one least disturbed.

--instructions counts instructions under valgrind's callgrind instead, which repeat on a
busy machine: a pass over the corpus through kxcalc.calc, and through the native
corpus_driver, each run with two numbers of passes, so that start-up cancels out.
"""
import argparse
import cmath
import ctypes
import gc
import json
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from typing import Callable, Dict, List, Optional

import kxcalc

REPOSITORY = Path(__file__).resolve().parent.parent
CORPUS = REPOSITORY / "bench" / "corpus.txt"
SECONDS_PER_SAMPLE = 0.25


def corpus_lines(path: Path) -> List[str]:
    """The corpus's lines in file order: "#" lines and empty lines are not lines."""
    lines = path.read_text(encoding="utf-8").splitlines()
    return [line for line in lines if line and not line.startswith("#")]


# Python's spelling of the calculator's names, for eval over cmath.
CMATH_NAMESPACE = {
    "__builtins__": {}, "i": 1j, "pi": cmath.pi, "e": cmath.e, "abs": abs,
    "sin": cmath.sin, "cos": cmath.cos, "tan": cmath.tan, "sinh": cmath.sinh, "cosh": cmath.cosh,
    "tanh": cmath.tanh, "asin": cmath.asin, "acos": cmath.acos, "atan": cmath.atan,
    "asinh": cmath.asinh, "acosh": cmath.acosh, "atanh": cmath.atanh, "sqrt": cmath.sqrt,
    "exp": cmath.exp, "ln": cmath.log, "log": cmath.log10,
    "sec": lambda z: 1 / cmath.cos(z), "csc": lambda z: 1 / cmath.sin(z), "cot": lambda z: 1 / cmath.tan(z),
    "sech": lambda z: 1 / cmath.cosh(z), "csch": lambda z: 1 / cmath.sinh(z), "coth": lambda z: 1 / cmath.tanh(z),
    "asec": lambda z: cmath.acos(1 / z), "acsc": lambda z: cmath.asin(1 / z), "acot": lambda z: cmath.atan(1 / z),
    "asech": lambda z: cmath.acosh(1 / z), "acsch": lambda z: cmath.asinh(1 / z),
    "acoth": lambda z: cmath.atanh(1 / z),
}


def python_spelling(line: str) -> str:
    """The line in Python's syntax: lowered, round brackets, e exponents, ** for ^.
    Functions without brackets, unclosed brackets and names Python lacks stay as they are
    and fail there; % is left out (Python's is not fmod)."""
    text = line.lower().translate(str.maketrans("[{]}", "(())"))
    text = re.sub(r"(?<=[0-9.])d(?=[+-]?[0-9])", "e", text)
    return text.replace("^", "**")


def eval_selection(lines: List[str]) -> List[str]:
    """The lines' Python spellings, for the lines that give a result here and that Python
    evaluates to a number; assignments are made once in the namespace and left out."""
    selected = []
    for line in lines:
        if not kxcalc.is_message(kxcalc.calc(line, raise_errors=False)) and "%" not in line:
            text = python_spelling(line)
            try:
                if text.startswith("set "):
                    name, expression = text[4:].split("=", 1)
                    CMATH_NAMESPACE[name.strip()] = eval(expression, CMATH_NAMESPACE)
                    continue
                if isinstance(eval(text, CMATH_NAMESPACE), (int, float, complex)):
                    selected.append(text)
            except (SyntaxError, NameError, TypeError, ValueError, ZeroDivisionError, OverflowError):
                pass
    return selected


def per_line_ns(run_pass: Callable[[], None], line_count: int) -> float:
    """ns per line over as many passes as fill a sample."""
    passes = 1
    while True:
        start = time.perf_counter_ns()
        for _ in range(passes):
            run_pass()
        elapsed = time.perf_counter_ns() - start
        if elapsed >= SECONDS_PER_SAMPLE * 1e9:
            return elapsed / (passes * line_count)
        passes *= 2


def calc_pass(lines: List[str]) -> Callable[[], None]:
    calc, error = kxcalc.calc, kxcalc.CalcError

    def run() -> None:
        for line in lines:
            try:
                calc(line)
            except error:
                pass
    return run


def texts_pass(lines: List[str]) -> Callable[[], None]:
    calc = kxcalc.calc

    def run() -> None:
        for line in lines:
            calc(line, raise_errors=False)
    return run


def loop_pass(lines: List[str]) -> Callable[[], None]:
    def run() -> None:
        for line in lines:
            len(line)
    return run


def ctypes_pass(library_path: Path, lines: List[str]) -> Callable[[], None]:
    """The README's former ctypes recipe: a fresh buffer per line, then the call."""
    library = ctypes.CDLL(str(library_path))
    kx_calc = library.kx_calc
    kx_calc.argtypes = [ctypes.c_char_p]
    kx_calc.restype = ctypes.c_char_p
    encoded = [line.encode() for line in lines]
    for data in encoded:  # settle the library's own variables, as the other runs do
        kx_calc(ctypes.create_string_buffer(data, max(64, len(data) + 1)))

    def run() -> None:
        for data in encoded:
            kx_calc(ctypes.create_string_buffer(data, max(64, len(data) + 1))).decode()
    return run


def eval_pass(texts: List[str]) -> Callable[[], None]:
    namespace = CMATH_NAMESPACE

    def run() -> None:
        for text in texts:
            eval(text, namespace)
    return run


def native_ns(calc_bench: Path) -> float:
    """calc_bench's ns per line over the whole corpus, one sample."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([str(calc_bench), "--benchmark_filter=^kxcalc/all$", "--benchmark_min_time=0.2",
                        f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(out.name, encoding="utf-8") as report:
            run = json.load(report)["benchmarks"][0]
    assert run["time_unit"] == "ns"
    return run["real_time"] / len(corpus_lines(CORPUS))


def instructions(command: List[str]) -> int:
    """The instructions a command executes, counted by callgrind."""
    with tempfile.TemporaryDirectory() as work:
        result = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={work}/out", *command],
                                check=True, capture_output=True, text=True)
    return int(re.search(r"Collected : (\d+)", result.stderr).group(1))


def calc_passes(passes: int) -> List[str]:
    """A Python process that settles the variables, then makes passes over the corpus."""
    program = ("import sys, kxcalc\n"
               "lines = [l for l in open(sys.argv[1]).read().splitlines() if l and not l.startswith('#')]\n"
               "for p in range(int(sys.argv[2]) + 1):\n"
               "    for l in lines:\n"
               "        try: kxcalc.calc(l)\n"
               "        except kxcalc.CalcError: pass\n")
    return [sys.executable, "-c", program, str(CORPUS), str(passes)]


def count_instructions(build: Path) -> int:
    lines = len(corpus_lines(CORPUS))
    few, many = 10, 30
    per_line = {"kxcalc.calc(line)": (instructions(calc_passes(many)) - instructions(calc_passes(few)))
                / ((many - few) * lines)}
    driver = build / "bench" / "corpus_driver"
    if driver.is_file():
        runs = [instructions([str(driver), str(CORPUS), str(passes)]) for passes in (few, many)]
        per_line["native kx_calc (corpus_driver)"] = (runs[1] - runs[0]) / ((many - few) * lines)
    print(f"corpus {CORPUS.name}: {lines} lines; instructions per line under callgrind")
    for name, value in per_line.items():
        print(f"  {name:42s} {value:8.0f}")
    return 0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--build", type=Path, default=REPOSITORY / "build-bench",
                        help="the CMake build folder with bench/calc_bench and src/libkxcalc.so")
    parser.add_argument("--instructions", action="store_true", help="count instructions with callgrind")
    arguments = parser.parse_args()
    if arguments.instructions:
        return count_instructions(arguments.build)

    lines = corpus_lines(CORPUS)
    for line in lines:  # one pass in file order settles the variables
        kxcalc.calc(line, raise_errors=False)
    eval_texts = eval_selection(lines)
    eval_lines = [line for line in lines if python_spelling(line) in set(eval_texts)]

    samples: Dict[str, Callable[[], float]] = {
        "kxcalc.calc(line)": lambda: per_line_ns(calc_pass(lines), len(lines)),
        "kxcalc.calc(line, raise_errors=False)": lambda: per_line_ns(texts_pass(lines), len(lines)),
        "Python loop with len(line)": lambda: per_line_ns(loop_pass(lines), len(lines)),
        "kxcalc.calc, eval's lines": lambda: per_line_ns(calc_pass(eval_lines), len(eval_lines)),
        "eval over cmath, eval's lines": lambda: per_line_ns(eval_pass(eval_texts), len(eval_texts)),
    }
    calc_bench = arguments.build / "bench" / "calc_bench"
    library = arguments.build / "src" / "libkxcalc.so"
    if calc_bench.is_file():
        samples["native kx_calc (calc_bench)"] = lambda: native_ns(calc_bench)
    else:
        print(f"{calc_bench} not found (bash bench/run.sh builds it): no native figure")
    if library.is_file():
        ctypes_run = ctypes_pass(library, lines)
        samples["ctypes call of libkxcalc.so"] = lambda: per_line_ns(ctypes_run, len(lines))

    best: Dict[str, float] = {}
    gc.disable()
    for repetition in range(arguments.repetitions):
        names = list(samples)
        names = names[repetition % len(names):] + names[:repetition % len(names)]  # vary the order
        for name in names:
            best[name] = min(best.get(name, float("inf")), samples[name]())
    gc.enable()

    print(f"corpus {CORPUS.name}: {len(lines)} lines; eval over cmath takes {len(eval_lines)} of them; "
          f"best of {arguments.repetitions} interleaved repetitions; {sys.executable} {sys.version.split()[0]}")
    for name, value in best.items():
        print(f"  {name:42s} {value:8.1f} ns/line")
    native: Optional[float] = best.get("native kx_calc (calc_bench)")
    if native is not None:
        print(f"  kxcalc.calc above the native call:         {best['kxcalc.calc(line)'] - native:8.1f} ns/line")
    ratio = best["eval over cmath, eval's lines"] / best["kxcalc.calc, eval's lines"]
    print(f"  eval over cmath / kxcalc.calc, eval's lines: {ratio:6.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
