// Portable real sine and cosine, rounded (sin, cos, sinCos), unrounded as double-doubles
// (wideSinCos, wide::sinCos, wide::fastSinCos), and their accurate path (accurate::sinCos).
//
// Built from the IEEE basic operations (+ - * / sqrt, correctly rounded on every target with
// SSE2 and no contraction) and exact operations (frexp, scalings by powers of two, fabs, copysign) only, so a
// result is the same double on every system, whatever its C runtime's libm does.
// Each rounded result is correctly rounded (sin_cos.cpp: a fast path, an accurate path and
// balls behind them).
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

// sin x and cos x unrounded, as double-doubles with a relative error below 2^-64, for callers
// that combine them before one final rounding. NaN parts for an infinite or NaN x.
struct WideSineCosine {
    DoubleDouble sine;
    DoubleDouble cosine;
};
WideSineCosine wideSinCos(double x);

namespace accurate {
SineCosine sinCos(double x);  // the accurate path of sinCos, without the fast one in front
}

namespace wide {
// sin x and cos x for |x.high| < 2^50, x.low within half an ulp of x.high, with an absolute
// error of about 2^-100 (so a result near zero is relative to itself as far as the
// argument's own absolute error allows).
WideSineCosine sinCos(DoubleDouble x);
// sin x and cos x for |x.high| < 2^20, x.low within half an ulp: each part within 2^-66
// of itself, plus the error from an absolute error below 2^-102 in x (the other part's
// magnitude times it).
WideSineCosine fastSinCos(DoubleDouble x);
}  // namespace wide

}  // namespace kx::real
