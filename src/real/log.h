// Portable real natural logarithms: ln x and ln(1 + u) rounded (log, log1p), and on
// double-double arguments (roundedLog; wide::log, wide::log1p and their fast variants).
//
// Built from the IEEE basic operations (+ - * / sqrt, correctly rounded on every target with
// SSE2 and no contraction) and exact operations (frexp, scalings by powers of two, fabs, copysign) only, so a
// result is the same double on every system, whatever its C runtime's libm does.
// log, log1p and roundedLog are correctly rounded (log.cpp: a fast path, an accurate path
// and balls behind them).
#pragma once

#include "core/double_double.h"

namespace kx::real {

double log(double x);    // ln x: -inf at ±0, NaN below 0, +inf at +inf
double log1p(double u);  // ln(1 + u), accurate for small u: ±0 at ±0, -inf at -1, NaN below -1



// ln u correctly rounded, for a finite u > 0 held as u.high + u.low (|u.low| at most half an
// ulp of u.high): for callers that form the argument of a logarithm in double-double.
double roundedLog(DoubleDouble u);

namespace accurate {
// The accurate paths of log, log1p and roundedLog, without the fast ones in front.
double log(double x);
double log1p(double u);
double roundedLog(DoubleDouble u);
}  // namespace accurate

// On double-double arguments, for callers that carry an argument beyond double precision
// (the complex power). Relative errors are about 2^-100 of the result unless stated;
// nothing here checks its argument's range.
namespace wide {
DoubleDouble log(DoubleDouble u);      // ln u for finite u > 0
DoubleDouble log1p(DoubleDouble d);    // ln(1 + d) for finite d > -1, relative to the result for small d
// Fast variants, for a first try whose rounding the caller checks against these bounds
// (derivations at the fast kernels in log.cpp):
DoubleDouble fastLog(DoubleDouble u);    // as log, u.low within half an ulp: relative error below 2^-65.5
DoubleDouble fastLog1p(DoubleDouble d);  // as log1p, -1/2 <= d <= 1: relative error below 2^-65.5
}  // namespace wide

}  // namespace kx::real
