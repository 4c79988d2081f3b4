// The logarithm's kernels shared with the power (pow.cpp); derivations in log.cpp.
#pragma once

#include "core/double_double.h"

namespace kx::real {

// The fast logarithm's rounding test bound (its error is below 2^-65.5), and the error it
// carries into pow's exponent per unit of |y·ln x|, with the slack.
inline constexpr double fastLogarithmBound = 0x1p-63;
inline constexpr double fastLogarithmErrorInPower = 0x1p-63;

// ln x for x > 0 finite (normal or subnormal), relative error about 2^-100.
DoubleDouble logarithm(double x);
// ln x for x = x.high + x.low > 0 finite, |x.low| <= ulp(x.high)/2, relative error below
// 2^-65.5.
DoubleDouble fastLogarithm(DoubleDouble x);

}  // namespace kx::real
