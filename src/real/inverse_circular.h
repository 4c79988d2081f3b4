// Portable real arctangent, arctangent of y/x, arcsine and arccosine (see
// inverse_circular.cpp), and the angle on double-double results for the complex power.
//
// Built from the IEEE basic operations (+ - * / sqrt, correctly rounded on every target with
// SSE2 and no contraction) and exact operations (frexp, scalings by powers of two, fabs, copysign) only, so a
// result is the same double on every system, whatever its C runtime's libm does.
#pragma once

#include "core/double_double.h"

namespace kx::real {

// atan x in [-pi/2, pi/2]; ±0 kept, ±pi/2 (rounded) at ±inf.
double atan(double x);

// asin x in [-pi/2, pi/2]; the default NaN for |x| > 1; ±0 kept.
double asin(double x);

// acos x in [0, pi]; the default NaN for |x| > 1; acos 1 = +0.
double acos(double x);

// The angle of (x, y) in [-pi, pi], with the special cases of C99 Annex F: signed by y
// (also a zero y), +-pi for y = ±0 and x < 0 or x = -0, ±pi/2 for x = ±0 and y not zero,
// ±pi/4 and ±3pi/4 for two infinities. Correctly rounded, as atan, asin and acos are.
double atan2(double y, double x);

namespace accurate {
// The accurate paths of atan2, atan, asin and acos, without the fast ones in front.
double atan2(double y, double x);
double atan(double x);
double asin(double x);
double acos(double x);
}  // namespace accurate

namespace wide {
// The angle of atan2 for finite x and y, not both zero, relative error about 2^-100.
DoubleDouble atan2(double y, double x);
// atan(smaller/larger) for 0 <= smaller <= larger finite, smaller = 0 or at least 2^-60 of
// larger: relative error below 2^-65.4 (derivation at the fast kernel in inverse_circular.cpp).
DoubleDouble fastAtan(double smaller, double larger);
}  // namespace wide

}  // namespace kx::real
