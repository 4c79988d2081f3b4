// Portable real sine, cosine, arctangent of y/x, natural logarithm (of x and of 1 + u), exponential and power.
//
// They are built from the IEEE basic operations (+ - * / sqrt, correctly rounded on every
// target with SSE2 and no contraction) and exact operations (frexp, ldexp, fabs,
// copysign) only, so a result is the same double on every system, whatever its C
// runtime's libm does. Each is within 1 ulp everywhere and correctly rounded except in
// rare cases within about 2^-40 ulp of a rounding boundary (real_functions.cpp).
#pragma once

#include "core/double_double.h"

namespace kx::real {

struct SineCosine {
    double sine;
    double cosine;
};

double sin(double x);  // NaN for infinite or NaN x; sin(±0) = ±0
double cos(double x);  // NaN for infinite or NaN x; cos(±0) = 1
SineCosine sinCos(double x);  // both with one argument reduction

// The angle of (x, y) in [-pi, pi], with the special cases of C99 Annex F: signed by y
// (also a zero y), +-pi for y = ±0 and x < 0 or x = -0, ±pi/2 for x = ±0 and y not zero,
// ±pi/4 and ±3pi/4 for two infinities.
double atan2(double y, double x);

double log(double x);    // ln x: -inf at ±0, NaN below 0, +inf at +inf
double log1p(double u);  // ln(1 + u), accurate for small u: ±0 at ±0, -inf at -1, NaN below -1
double exp(double x);  // e^x, overflowing to +inf and underflowing gradually to +0

// x^y with the special cases of C99 Annex F: pow(x, ±0) = 1 and pow(1, y) = 1 even for a
// NaN operand; a negative finite x with a non-integer finite y gives NaN; an odd integer
// y keeps the sign of x (so of a zero and of an infinity); a zero x with y < 0 gives an
// infinity; overflow and underflow give inf and 0 of the right sign.
double pow(double x, double y);

// e^t = value·2^exponent, value a double-double in about [0.7, 2.02] left unrounded, for
// products that scale it before their one rounding (the hyperbolic products). For |t| <= 745;
// the relative error of value is below 2^-65.3 (exponentialParts) or about 2^-100
// (accurate::exponentialParts).
struct ScaledExponential {
    DoubleDouble value;
    int exponent;
};
ScaledExponential exponentialParts(double t);
namespace accurate {
ScaledExponential exponentialParts(double t);
}

// sin x and cos x unrounded, as double-doubles with a relative error below 2^-64, for callers
// that combine them before one final rounding. NaN parts for an infinite or NaN x.
struct WideSineCosine {
    DoubleDouble sine;
    DoubleDouble cosine;
};
WideSineCosine wideSinCos(double x);

// The same kernels on double-double arguments and results, for callers that carry an
// argument beyond double precision (the complex power). Relative errors are about 2^-100
// of the result unless stated; nothing here checks its argument's range.
namespace wide {

using ScaledDoubleDouble = ScaledExponential;  // value·2^exponent
using SineCosinePair = WideSineCosine;

DoubleDouble log(DoubleDouble u);      // ln u for finite u > 0
DoubleDouble log1p(DoubleDouble d);    // ln(1 + d) for finite d > -1, relative to the result for small d
DoubleDouble atan2(double y, double x);  // the angle of atan2 for finite x and y, not both zero
// e^t = value·2^exponent with value in about [0.7, 1.42], for |t.high| <= 1842.
ScaledDoubleDouble exp(DoubleDouble t);
// sin x and cos x for |x.high| < 2^50, x.low within half an ulp of x.high, with an absolute
// error of about 2^-100 (so a result near zero is relative to itself as far as the
// argument's own absolute error allows).
SineCosinePair sinCos(DoubleDouble x);
// value·2^exponent rounded once to a double (value.low within half an ulp of value.high):
// overflow to an infinity of value's sign, gradual underflow, a zero of value's sign below
// the subnormal range.
double roundTimesPowerOfTwo(DoubleDouble value, int exponent);

// Fast variants, for a first try whose rounding the caller checks against these bounds
// (derivations at the fast kernels in real_functions.cpp):
DoubleDouble fastLog(DoubleDouble u);    // as log, u.low within half an ulp: relative error below 2^-65.5
DoubleDouble fastLog1p(DoubleDouble d);  // as log1p, -1/2 <= d <= 1: relative error below 2^-65.5
// atan(smaller/larger) for 0 <= smaller <= larger finite, smaller = 0 or at least 2^-60 of
// larger: relative error below 2^-65.4.
DoubleDouble fastAtan(double smaller, double larger);
// e^t as exp gives it, value in about [0.99, 2.02], for |t.high| <= 745 and t.low within
// half an ulp: relative error below 2^-65.3.
ScaledDoubleDouble fastExp(DoubleDouble t);
// sin x and cos x for |x.high| < 2^20, x.low within half an ulp: each part within 2^-66
// of itself, plus the error from an absolute error below 2^-102 in x (the other part's
// magnitude times it).
SineCosinePair fastSinCos(DoubleDouble x);

}  // namespace wide

}  // namespace kx::real
