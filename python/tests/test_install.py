"""The package as pip installs it, run from outside the source tree with no environment
variable set: the module carries its own calculator, and python3 -m kxcalc behaves as the
kxcalc program does."""
import ast
import re
import subprocess

import pytest

from conftest import REPOSITORY

HOST = REPOSITORY / "build" / "tools" / "kxcalc" / "kxcalc"
VERSION = re.search(r"project\(kxcalc\s+VERSION\s+([0-9.]+)", (REPOSITORY / "CMakeLists.txt").read_text()).group(1)
# Typed lines, and lines of every kind of number and function that builds must agree on.
CORPORA = [REPOSITORY / "bench" / "corpus.txt", REPOSITORY / "tests" / "windows" / "cross_corpus.txt"]

IMPORT_CHECK = """
import kxcalc, sys
print(kxcalc.calc("(3+4*i)^2"))
print(kxcalc.__file__.startswith(sys.prefix))
print(sorted({line.split()[-1] for line in open("/proc/self/maps") if "kxcalc" in line and ".so" in line}))
"""

# Arguments, standard input, the expected standard output and exit status.
COMMAND_LINES = [
    (["(3+4*i)^2", "SET Z = 2+i", "z*z"], "", "-7+24i\n2+i\n3+4i\n", 0),
    (["2)", "1"], "", "Syntax error.  Unmatched: )\n1\n", 1),
    (["--", "--1"], "", "1\n", 0),
    ([], "set w = 3\r\nw*w\n\nhelp\n1+", "3\n9\nRan Out of Data\nRan Out of Data\nRan Out of Data\n", 1),
    ([], b"2 \xff\n".decode("latin-1"), "Syntax Error: \n", 1),
    (["--version"], "", f"kxcalc {VERSION}\n", 0),
    (["--colour"], "", "", 2),
]


def run_outside(venv, tmp_path, arguments, stdin=""):
    """Runs the environment's python in an empty folder with an empty environment."""
    return subprocess.run([str(venv / "bin" / "python"), *arguments], cwd=tmp_path, env={},
                          input=stdin.encode("latin-1"), capture_output=True, timeout=120)


def test_installed_module_carries_the_library(venv, tmp_path):
    result = run_outside(venv, tmp_path, ["-c", IMPORT_CHECK])
    assert result.returncode == 0, result.stderr.decode()
    answer, inside_venv, loaded = result.stdout.decode().splitlines()
    assert answer == "-7+24i"
    assert inside_venv == "True"
    # The one loaded object that holds the calculator is the package's own module.
    loaded = ast.literal_eval(loaded)
    assert len(loaded) == 1 and "/site-packages/kxcalc/_kxcalc." in loaded[0], loaded


@pytest.mark.parametrize("arguments,stdin,output,status", COMMAND_LINES)
def test_command_line(venv, tmp_path, arguments, stdin, output, status):
    result = run_outside(venv, tmp_path, ["-m", "kxcalc", *arguments], stdin)
    assert result.stdout.decode("latin-1") == output
    assert result.returncode == status


@pytest.mark.skipif(not HOST.is_file(), reason="the kxcalc program is not built in build/")
@pytest.mark.parametrize("corpus_file", CORPORA, ids=lambda path: path.name)
def test_filter_answers_as_the_program_does(venv, tmp_path, corpus_file):
    """A whole corpus through both filters: the same bytes out and the same exit status,
    so the module's build of the library writes what the CMake build writes."""
    corpus = corpus_file.read_text()
    ours = run_outside(venv, tmp_path, ["-m", "kxcalc"], corpus)
    theirs = subprocess.run([str(HOST)], input=corpus.encode(), capture_output=True, timeout=120)
    assert ours.stdout.count(b"\n") == corpus.count("\n")
    assert ours.stdout == theirs.stdout
    assert ours.returncode == theirs.returncode


def test_terminal_session_as_the_program_has(venv, tmp_path):
    """The kxcalc program's own terminal test (completion, history, help, colour, Ctrl-C,
    Ctrl-D and the exit status, through tmux), run on python3 -m kxcalc."""
    program = tmp_path / "kxcalc"
    program.write_text(f'#!/bin/sh\nexec "{venv}/bin/python" -m kxcalc "$@"\n')
    program.chmod(0o755)
    result = subprocess.run(["bash", str(REPOSITORY / "tests" / "host" / "pty_test.sh"), str(program)],
                            capture_output=True, text=True, timeout=300)
    if result.returncode == 77:
        pytest.skip(result.stdout.strip())
    assert result.returncode == 0, result.stdout
