// Scaled hyperbolic products: b·cosh a, b·sinh a and b·e^a as single operations that
// overflow only when the product itself is out of range.
#pragma once

#include "core/double_double.h"

namespace kx {

// C(a, b) = b·cosh a. C(0, b) is b; a zero b gives a zero (with the sign of b) for
// every a, infinite a included; a NaN a gives that NaN.
double scaledCosh(double a, double b);

// S(a, b) = b·sinh a. S(0, b) is +0 whatever b; a zero b gives a zero with the sign of
// the true product (sign of b times sign of a); a NaN a gives that NaN.
double scaledSinh(double a, double b);

// b·e^a. A zero b gives b; a NaN a gives that NaN; an infinite a gives b·e^a's limit.
double exponentialProduct(double a, double b);

// The same ingredients unrounded, with their powers of two kept apart, for callers that
// combine them before one rounding (the parts of the circular and hyperbolic functions and of
// exp, whose results may be in range while a factor is not: sin x·cosh y for |y| beyond 710):
// sinh x and cosh x as value·2^exponent within 2^-64 relative (value in [1/4, 2^59]), for
// finite nonzero x with |x| < 1455, and e^t within 2^-64 relative (value in about
// [0.7, 2.02]), for |t| <= 1455.
struct ScaledSinhCosh {
    ScaledDoubleDouble sinh;
    ScaledDoubleDouble cosh;
};
ScaledSinhCosh scaledWideSinhCosh(double x);
ScaledDoubleDouble scaledWideExponential(double t);
// The same from the accurate exponential: about 2^-99 relative.
ScaledSinhCosh scaledAccurateSinhCosh(double x);
ScaledDoubleDouble scaledAccurateExponential(double t);

}  // namespace kx
