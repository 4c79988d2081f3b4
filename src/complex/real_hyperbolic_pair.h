// e^t, and sinh x and cosh x together, unrounded, for callers that combine them before one final
// rounding (the quotient functions), computed with IEEE basic operations and the library's
// own exponential and logarithm only (see real_hyperbolic_pair.cpp).
#pragma once

#include "complex/exact_arithmetic.h"

namespace kx::real {

struct WideSinhCosh {
    DoubleDouble sinh;
    DoubleDouble cosh;
};

// e^t as a double-double with a relative error below about 2^-72·max(1, |t|), for |t| <= 700.
DoubleDouble wideExponential(double t);

// sinh x and cosh x as double-doubles with a relative error below about 2^-68, for finite x
// with |x| <= 30.
WideSinhCosh wideSinhCosh(double x);

}  // namespace kx::real
