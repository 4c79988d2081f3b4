// Portable real exponential, rounded (exp) and as scaled double-doubles for callers that
// round once after further operations (exponentialParts, wide::exp, wide::fastExp).
//
// Built from the IEEE basic operations (+ - * / sqrt, correctly rounded on every target with
// SSE2 and no contraction) and exact operations (frexp, scalings by powers of two, fabs, copysign) only, so a
// result is the same double on every system, whatever its C runtime's libm does.
// exp is correctly rounded (exp.cpp: a fast path, an accurate path and balls behind them).
#pragma once

#include "core/double_double.h"

namespace kx::real {

double exp(double x);  // e^x, overflowing to +inf and underflowing gradually to +0

// e^t = value·2^exponent, value a double-double in about [0.7, 2.02] left unrounded, for
// products that scale it before their one rounding (the hyperbolic products). For |t| <= 745;
// the relative error of value is below 2^-65.3 (exponentialParts) or about 2^-100
// (accurate::exponentialParts).
ScaledDoubleDouble exponentialParts(double t);

namespace accurate {
double exp(double x);  // the accurate path of exp, without the fast one in front
ScaledDoubleDouble exponentialParts(double t);
}  // namespace accurate

// On double-double arguments, for callers that carry an argument beyond double precision
// (the complex power). Relative errors are about 2^-100 of the result unless stated;
// nothing here checks its argument's range.
namespace wide {
// e^t = value·2^exponent with value in about [0.7, 1.42], for |t.high| <= 1842.
ScaledDoubleDouble exp(DoubleDouble t);
// e^t as exp gives it, value in about [0.99, 2.02], for |t.high| <= 745 and t.low within
// half an ulp: relative error below 2^-65.3 (derivation at the fast kernel in exp.cpp).
ScaledDoubleDouble fastExp(DoubleDouble t);
// value·2^exponent rounded once to a double (value.low within half an ulp of value.high):
// overflow to an infinity of value's sign, gradual underflow, a zero of value's sign below
// the subnormal range.
double roundTimesPowerOfTwo(DoubleDouble value, int exponent);
}  // namespace wide

}  // namespace kx::real
