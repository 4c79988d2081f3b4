// The real arctangent, arcsine and arccosine, computed with IEEE
// basic operations only, so that every platform gives the same bits (see real_arcs.cpp).
#pragma once

namespace kx::real {

// atan x in [-pi/2, pi/2]; ±0 kept, ±pi/2 (rounded) at ±inf.
double atan(double x);


// asin x in [-pi/2, pi/2]; the default NaN for |x| > 1; ±0 kept.
double asin(double x);

// acos x in [0, pi]; the default NaN for |x| > 1; acos 1 = +0.
double acos(double x);

}  // namespace kx::real
