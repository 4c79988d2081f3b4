"""Correct rounding of an mpmath value to the nearest IEEE double, shared by the generators."""

import math

import mpmath
from mpmath import mpf

LARGEST = mpf(2) ** 1024  # a rounded magnitude this large is an overflow to infinity


def round_to_double(value):
    """The double nearest to value (ties to even), subnormals and overflow included."""
    if mpmath.isnan(value):
        return math.nan
    if mpmath.isinf(value):
        return math.inf if value > 0 else -math.inf
    if value == 0:
        return 0.0
    _, exponent = mpmath.frexp(value)  # value = f·2^exponent, 0.5 <= |f| < 1
    scale = max(int(exponent) - 53, -1074)
    scaled = mpmath.ldexp(value, -scale)  # exact: a power-of-two scaling
    integer = int(mpmath.floor(scaled))
    fraction = scaled - integer
    if fraction > 0.5 or (fraction == 0.5 and integer % 2 != 0):
        integer += 1
    if abs(mpmath.ldexp(mpf(integer), scale)) >= LARGEST:
        return math.inf if integer > 0 else -math.inf
    return math.ldexp(integer, scale)
