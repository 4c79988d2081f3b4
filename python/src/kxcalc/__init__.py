"""kxcalc: evaluate a formula over the complex numbers, safely, without eval.

    >>> import kxcalc
    >>> kxcalc.calc("(3+4*i)^2")
    '-7+24i'
    >>> kxcalc.evaluate("sqrt(-4)")
    2j
    >>> kxcalc.calc("2)")
    Traceback (most recent call last):
    kxcalc.CalcError: Syntax error.  Unmatched: )

A line is an expression or an assignment ``set NAME = EXPRESSION``. The answer is the text
that the library writes: a result such as ``6+8i`` or, for a faulty line, a message, which
``calc`` raises as :class:`CalcError` (a ``ValueError``) unless called with
``raise_errors=False``.

Lines are ``str`` (encoded as UTF-8) or ``bytes`` of any length; a NUL inside a line is
refused with ``ValueError``. Answers are ``str``; a message that quotes bytes that are not
UTF-8 keeps them as lone surrogates (``text.encode("utf-8", "surrogateescape")`` gives back
the library's bytes).

Variables: the calculator lives in this module, loaded once per process, so the variables
assigned with ``set`` and the tolerance ``tol`` are shared by every thread and every user
of the package in the process. Calls from several threads run at once: the interpreter's
lock is released while the library works and the package adds no lock of its own, so what
the library allows of concurrent calls holds for them.
"""
from kxcalc._kxcalc import CalcError, __version__, calc, evaluate, is_message

__all__ = ["CalcError", "calc", "evaluate", "is_message", "__version__"]
