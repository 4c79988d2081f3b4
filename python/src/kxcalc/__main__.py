"""python3 -m kxcalc: the calculator on the command line, as the kxcalc program runs it.

    python3 -m kxcalc [EXPRESSION]...
    python3 -m kxcalc --help | --version

With arguments, each is evaluated in one session and answered on a line of its own. Without,
on a terminal, an interactive session; otherwise a filter: exactly one line out for every
line in, messages included, in order. Exit status: 0 when every line gave a result, 1 when
any gave a message, 2 for a usage error.
"""
import os
import sys
from pathlib import Path
from typing import BinaryIO, Iterable, List, Optional, Sequence

from kxcalc import _kxcalc, calc, is_message

EXIT_ALL_RESULTS = 0
EXIT_SOME_MESSAGE = 1
EXIT_USAGE = 2

USAGE = """\
Usage: python3 -m kxcalc [EXPRESSION]...
       python3 -m kxcalc --help | --version

Evaluates each EXPRESSION over the complex numbers and prints one answer per line.
With no EXPRESSION, reads lines from standard input and prints one answer per line;
on a terminal it runs an interactive session (type help there for the language).
A line "set NAME = EXPRESSION" stores a variable for the rest of the session.
Use -- before an expression that begins with two minus signs and a letter.

Exit status: 0 if every line gave a result, 1 if any gave an error message,
2 for a usage error.
"""

PROMPT = "kx> "
BOLD_RED = "\x1b[1;31m"
RESET = "\x1b[0m"
MESSAGE_MARK = "! "
HISTORY_LINES = 1000


def colour_wanted(is_terminal: bool) -> bool:
    """Colour only on a terminal, never with NO_COLOR set, not when TERM is unset or dumb."""
    term = os.environ.get("TERM", "")
    return is_terminal and not os.environ.get("NO_COLOR") and term not in ("", "dumb")


def styled(text: str, message: bool, style: str) -> str:
    if not message or style == "plain":
        return text
    return BOLD_RED + text + RESET if style == "colour" else MESSAGE_MARK + text


def output_style() -> str:
    return "colour" if colour_wanted(sys.stdout.isatty()) else "plain"


def answer_lines(lines: Iterable[bytes], out: BinaryIO, style: str, flush: bool) -> int:
    """Writes the answer to every line, each on a line of its own; the exit status."""
    all_results = True
    for line in lines:
        text = calc(line, raise_errors=False)
        message = is_message(text)
        all_results = all_results and not message
        out.write(styled(text, message, style).encode("utf-8", "surrogateescape") + b"\n")
        if flush:
            out.flush()  # an answer as soon as its line is typed
    return EXIT_ALL_RESULTS if all_results else EXIT_SOME_MESSAGE


def filter_lines(source: BinaryIO) -> Iterable[bytes]:
    """The lines of a stream, without their line ends (LF, or CR LF); bytes as they are."""
    for line in source:
        if line.endswith(b"\n"):
            line = line[:-1]
        if line.endswith(b"\r"):
            line = line[:-1]
        yield line


def history_file() -> Optional[Path]:
    """The history kept across sessions, the same file as the kxcalc program's."""
    state = os.environ.get("XDG_STATE_HOME", "")
    if os.path.isabs(state):
        return Path(state) / "kxcalc" / "history"
    home = os.environ.get("HOME", "")
    return Path(home) / ".local" / "state" / "kxcalc" / "history" if os.path.isabs(home) else None


def assigned_name(line: str) -> str:
    """The variable a line assigns, lowered and cut as the library cuts it; empty if none."""
    lowered = line.translate(LOWER_ASCII)
    if not lowered.startswith("set ") or "=" not in lowered:
        return ""
    return lowered[4:lowered.index("=")].strip(" \t\n\v\f\r")


LOWER_ASCII = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")


class Session:
    """An interactive session: line editing, completion and history when readline is there."""

    def __init__(self) -> None:
        self.variables: set = set()
        self.readline = None
        try:
            import readline
        except ImportError:  # a Python built without it: plain lines
            return
        self.readline = readline
        readline.set_completer_delims("".join(chr(c) for c in range(1, 128) if not chr(c).isalpha()))
        readline.set_completer(self.complete)
        readline.parse_and_bind("tab: complete")
        self.history = history_file()
        if self.history is not None:
            try:
                self.history.parent.mkdir(mode=0o700, parents=True, exist_ok=True)
                os.close(os.open(self.history, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o600))
                readline.read_history_file(self.history)
            except OSError as error:
                print(f"kxcalc: history not kept: {error}", file=sys.stderr)
                self.history = None

    def candidates(self, prefix: str) -> List[str]:
        prefix = prefix.lower()
        names = [name + "(" for name in _kxcalc.FUNCTION_NAMES]
        names += list(_kxcalc.CONSTANT_NAMES) + [_kxcalc.TOLERANCE_NAME] + sorted(self.variables)
        return sorted({name for name in names if name.startswith(prefix)})

    def complete(self, prefix: str, state: int) -> Optional[str]:
        found = self.candidates(prefix)
        return found[state] if state < len(found) else None

    def save_history(self) -> None:
        if self.readline is not None and self.history is not None:
            self.readline.set_history_length(HISTORY_LINES)
            try:
                self.readline.write_history_file(self.history)
            except OSError as error:
                print(f"kxcalc: history not saved: {error}", file=sys.stderr)

    def run(self) -> int:
        style = "colour" if colour_wanted(True) else "marked"
        print(f"kxcalc {_kxcalc.__version__}: type help for the language, quit or Ctrl-D to leave.")
        all_results = True
        try:
            while True:
                try:
                    line = input(PROMPT)
                except KeyboardInterrupt:  # Ctrl-C drops the line being typed
                    # Under readline the terminal does not echo the key itself.
                    print("^C" if self.readline is not None else "")
                    continue
                except EOFError:
                    print()  # the shell's prompt on a line of its own after Ctrl-D
                    break
                word = line.strip(" \t").lower()
                if not line.strip(" \t\r"):
                    continue
                if word in ("quit", "exit"):
                    break
                if word in ("help", "?"):
                    editing = _kxcalc.EDITING_HELP_TEXT if self.readline is not None else ""
                    print(_kxcalc.HELP_TEXT + editing + _kxcalc.LEAVING_HELP_TEXT, end="", flush=True)
                    continue
                text = calc(line, raise_errors=False)
                message = is_message(text)
                name = assigned_name(line)
                if not message and name.isascii() and name.isalpha():
                    self.variables.add(name)
                all_results = all_results and not message
                print(styled(text, message, style), flush=True)
        finally:
            self.save_history()
        return EXIT_ALL_RESULTS if all_results else EXIT_SOME_MESSAGE


def main(arguments: Optional[Sequence[str]] = None) -> int:
    arguments = sys.argv[1:] if arguments is None else arguments
    expressions: List[str] = []
    options_ended = False
    for argument in arguments:
        if not options_ended and argument == "--":
            options_ended = True
        elif not options_ended and argument in ("--help", "-h"):
            sys.stdout.write(USAGE)
            return EXIT_ALL_RESULTS
        elif not options_ended and argument == "--version":
            print(f"kxcalc {_kxcalc.__version__}")
            return EXIT_ALL_RESULTS
        elif not options_ended and len(argument) > 2 and argument.startswith("--") and \
                argument[2].isascii() and argument[2].isalpha():
            sys.stderr.write(f"kxcalc: unknown option '{argument}'\n{USAGE}")
            return EXIT_USAGE
        else:
            expressions.append(argument)
    if not expressions and sys.stdin.isatty() and sys.stdout.isatty():
        return Session().run()
    out = sys.stdout.buffer
    try:
        if expressions:
            lines: Iterable[bytes] = (os.fsencode(expression) for expression in expressions)
            status = answer_lines(lines, out, output_style(), flush=False)
        else:
            watched = sys.stdin.isatty() or sys.stdout.isatty()
            status = answer_lines(filter_lines(sys.stdin.buffer), out, output_style(), flush=watched)
        out.flush()
        return status
    except BrokenPipeError:
        # The reader went away: say nothing more, and let no flush at exit fail again.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return EXIT_SOME_MESSAGE


if __name__ == "__main__":
    sys.exit(main())
