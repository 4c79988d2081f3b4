from typing import Tuple, Union

__version__: str
FUNCTION_NAMES: Tuple[str, ...]
CONSTANT_NAMES: Tuple[str, ...]
TOLERANCE_NAME: str
HELP_TEXT: str
EDITING_HELP_TEXT: str
LEAVING_HELP_TEXT: str

class CalcError(ValueError):
    """A line that kxcalc answered with an error message; str(error) is the message text."""

def calc(line: Union[str, bytes], /, *, raise_errors: bool = True) -> str:
    """Evaluate one line and return the text kx_calc writes for it.

    A message raises CalcError carrying its text, unless raise_errors is false: then the
    message is returned like a result (tell them apart with is_message).
    """

def evaluate(line: Union[str, bytes], /) -> complex:
    """Evaluate one line and return its value as a complex number.

    The value is read back from the result text (15 significant digits, parts not above
    tol written as 0, 'nan' read as complex('nan')); a message raises CalcError.
    """

def is_message(text: str, /) -> bool:
    """Whether a text that calc returned is an error message rather than a result."""
