// The real natural logarithm and log(1 + x), computed with IEEE basic operations only, so
// that every platform gives the same bits (see real_logarithms.cpp for the method).
#pragma once

namespace kx::real {

// ln x: -inf at ±0, the default NaN for x < 0 (and -inf), +inf at +inf, NaN kept.
double log(double x);

// ln(1 + x), accurate for tiny x: -inf at -1, the default NaN below -1, ±0 kept.
double log1p(double x);

}  // namespace kx::real
