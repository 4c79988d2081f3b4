"""kxcalc from Python: the texts, the messages and how they are told apart, the values read
back, the arguments refused, and calls from several threads."""
import doctest
import re
import threading
import time

import pytest

from conftest import REPOSITORY

CORPUS = REPOSITORY / "bench" / "corpus.txt"
MESSAGE_HEADERS = [REPOSITORY / "src" / "eval" / "messages.h", REPOSITORY / "src" / "entry" / "entry_messages.h"]

# Lines and the texts kx_calc writes for them, in order: the assignments set what the later
# lines read, and tol is put back at the end.
GOLDEN = [
    ("(3+4*i)^2", "-7+24i"),
    ("2*SIN(PI/6)", "1"),
    ("sqrt(-4)", "2i"),
    ("-i", "-i"),
    ("2+i", "2+i"),
    ("1/0", "nan"),
    ("1e20", "1e+020"),
    ("0.00001", "1e-005"),
    ("-1e309*i", "-infi"),
    ("ln(-1)", "-3.14159265358979i"),
    ("i^i", "0.207879576350762"),
    ("set pyvar = 2+i", "2+i"),
    ("pyvar*pyvar", "3+4i"),
    ("set tol = -1", "-1"),
    ("0", "0+0i"),
    ("set tol = 1e-10", "1e-010+0i"),
    ("1e-12+2*i", "2i"),
]

# Faulty lines and their messages.
MESSAGES = [
    ("2)", "Syntax error.  Unmatched: )"),
    ("2 (3)", "Syntax error: ("),
    ("2 3", "Parse Error: 3"),
    ("*3", "Syntax Error: 3"),
    ("2+", "Ran Out of Data"),
    ("", "Ran Out of Data"),
    ("set = 5", "Syntax error: Missing variable name."),
    ("2 " + "3" * 80, ("Parse Error: " + "3" * 80)[:63]),
]


def corpus_lines():
    return [line for line in CORPUS.read_text().splitlines() if line and not line.startswith("#")]


def library_messages():
    """Every message text of the library, from the headers where each is written once."""
    texts = []
    for header in MESSAGE_HEADERS:
        texts += re.findall(r'std::string_view \w+ = "([^"]*)";', header.read_text())
    assert len(texts) >= 8, texts
    return texts


def as_python_complex(text):
    """Python's own reading of a result text: its trailing i is Python's j."""
    return complex(text[:-1] + "j" if text.endswith("i") else text)


def same_complex(a, b):
    return (repr(a.real), repr(a.imag)) == (repr(b.real), repr(b.imag))  # NaN and -0.0 alike


def test_golden_texts(kxcalc):
    examples = doctest.testmod(kxcalc)  # the examples in the package's docstring
    assert examples.attempted >= 3 and examples.failed == 0
    for line, text in GOLDEN:
        assert kxcalc.calc(line) == text, line
        assert not kxcalc.is_message(text)
    for line, text in GOLDEN:  # the same lines as bytes, again in order
        assert kxcalc.calc(line.encode()) == text, line


@pytest.mark.parametrize("line,message", MESSAGES)
def test_messages_raise_calc_error(kxcalc, line, message):
    with pytest.raises(kxcalc.CalcError) as raised:
        kxcalc.calc(line)
    assert isinstance(raised.value, ValueError)
    assert str(raised.value) == message
    with pytest.raises(kxcalc.CalcError, match=re.escape(message)):
        kxcalc.evaluate(line)
    assert kxcalc.calc(line, raise_errors=False) == message
    assert kxcalc.is_message(message)


def test_every_message_text_is_told_from_results(kxcalc):
    for fixed in library_messages():
        for text in (fixed, fixed + "x", fixed + "2i", fixed + "1"):
            assert kxcalc.is_message(text[:63]), text


def test_corpus_results_and_messages(kxcalc):
    """Over the corpus: a text is a message exactly when it begins with one of the library's
    message texts, and evaluate gives the value Python reads from the result text."""
    starts = tuple(text.rstrip(" .:") for text in library_messages())
    messages = 0
    for line in corpus_lines():
        text = kxcalc.calc(line, raise_errors=False)
        assert kxcalc.is_message(text) == text.startswith(starts), (line, text)
        if kxcalc.is_message(text):
            messages += 1
        elif not line.lower().startswith("set "):
            assert same_complex(kxcalc.evaluate(line), as_python_complex(text)), (line, text)
    assert 0 < messages < len(corpus_lines())


@pytest.mark.parametrize("length", [62, 63, 64, 65, 510, 511, 512, 513, 100_000])
def test_lines_of_any_length(kxcalc, length):
    """The buffer is sized for the line and the answer: a message quoting a long line is cut
    to 63 characters, and a long line's result is whole."""
    faulty = "2 " + "3" * (length - 2)
    assert kxcalc.calc(faulty, raise_errors=False) == ("Parse Error: " + faulty[2:])[:63]
    terms = (length + 1) // 2
    assert kxcalc.calc("+".join(["1"] * terms)) == str(terms)


@pytest.mark.parametrize("argument,error", [
    (None, TypeError), (12, TypeError), (1.5, TypeError), (bytearray(b"1"), TypeError),
    (["1"], TypeError), ("1\0+2", ValueError), (b"1\0", ValueError), ("\0", ValueError),
])
def test_arguments_refused(kxcalc, argument, error):
    with pytest.raises(error):
        kxcalc.calc(argument)
    with pytest.raises(error):
        kxcalc.evaluate(argument)


@pytest.mark.parametrize("call", [
    lambda k: k.calc(), lambda k: k.calc("1", "2"), lambda k: k.calc("1", colour=True),
    lambda k: k.evaluate(), lambda k: k.is_message(b"1"),
])
def test_calls_refused(kxcalc, call):
    with pytest.raises(TypeError):
        call(kxcalc)


@pytest.mark.parametrize("line", ["é+1", "2 \u00e9", "2 €", "3 \udcff"])
def test_str_lines_are_their_utf8_bytes(kxcalc, line):
    """A str line is its UTF-8 bytes (lone surrogates standing for the bytes they escape),
    and a message that quotes it gives those bytes back, even when cut inside a character."""
    encoded = line.encode("utf-8", "surrogateescape")
    text = kxcalc.calc(line, raise_errors=False)
    assert text == kxcalc.calc(encoded, raise_errors=False)
    assert kxcalc.is_message(text)
    assert encoded.lower().endswith(text.encode("utf-8", "surrogateescape").split(b": ", 1)[1])


def test_threads(kxcalc):
    """Several threads at once: lines that assign nothing give the texts they give alone, while
    another thread assigns; a reader sees each value whole (both parts of one assignment) and
    never an older one after a newer."""
    lines = [(line, text) for line, text in GOLDEN if not line.lower().startswith("set ")]
    lines += [(line, message) for line, message in MESSAGES]
    lines = [(line, text) for line, text in lines if "pyvar" not in line and not text.endswith("0i")]
    wrong = []
    kxcalc.calc("set pycount = 0")
    rounds = 2000

    def read():
        seen = 0
        for _ in range(rounds):
            for line, text in lines:
                answer = kxcalc.calc(line, raise_errors=False)
                if answer != text:
                    wrong.append((line, answer))
            value = kxcalc.evaluate("pycount")
            if value.real != -value.imag and value != 0 or value.real < seen:
                wrong.append(("pycount", value))
            seen = value.real

    def write():
        for n in range(1, rounds * 4):
            kxcalc.calc(f"set pycount = {n}-{n}*i")

    threads = [threading.Thread(target=read) for _ in range(3)] + [threading.Thread(target=write)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert wrong == []


def test_interpreter_lock_released_during_call(kxcalc):
    """While one thread's call works on a long line, another thread goes on running Python
    code: it is never held up for as long as the call takes."""
    line = "+".join(["1"] * 10_000_000)
    start = time.perf_counter()
    kxcalc.calc(line)
    call = time.perf_counter() - start

    worker = threading.Thread(target=kxcalc.calc, args=(line,))
    stamps = [time.perf_counter()]
    worker.start()
    while worker.is_alive():
        stamps.append(time.perf_counter())
    worker.join()
    longest_wait = max(later - earlier for earlier, later in zip(stamps, stamps[1:]))
    assert longest_wait < call / 2, f"held up {longest_wait:.3f} s by a call of {call:.3f} s"
