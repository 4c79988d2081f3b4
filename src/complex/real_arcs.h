// The real arctangent, two-argument arctangent, arcsine and arccosine, computed with IEEE
// basic operations only, so that every platform gives the same bits (see real_arcs.cpp).
#pragma once

namespace kx::real {

// atan x in [-pi/2, pi/2]; ±0 kept, ±pi/2 (rounded) at ±inf.
double atan(double x);

// The angle of the point (x, y) in [-pi, pi], with the C99 rules for zeros and
// infinities: atan2(±0, +0) = ±0, atan2(±0, -0) = ±pi, atan2(±inf, ±inf) = ±pi/4 or ±3pi/4.
double atan2(double y, double x);

// asin x in [-pi/2, pi/2]; the default NaN for |x| > 1; ±0 kept.
double asin(double x);

// acos x in [0, pi]; the default NaN for |x| > 1; acos 1 = +0.
double acos(double x);

}  // namespace kx::real
