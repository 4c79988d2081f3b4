// The real inverse hyperbolic sine and cosine, computed with IEEE basic operations only, so
// that every platform gives the same bits, and correctly rounded (see inverse_hyperbolic.cpp).
#pragma once

namespace kx::real {

// asinh x, odd; ±0 and ±inf kept.
double asinh(double x);

// acosh x for x >= 1 (acosh 1 = +0); the default NaN below 1.
double acosh(double x);

}  // namespace kx::real
