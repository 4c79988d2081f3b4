// The rounding test of the real functions' fast paths.
//
// Each function first computes a double-double with a proven relative error bound of
// about 2^-65 (reductions by tables of sixty-fourths for exp, log and atan2, the short
// sine and cosine kernels, the polynomial tails in plain doubles; derivations at the fast
// kernels) and returns its rounding when every number within 2^-63 of it (at least twice
// the bound) rounds the same way. That result is then the correctly rounded one, which
// the accurate path gives too; otherwise (one call in a few hundred) the accurate path
// decides. So results are those of the accurate path whenever it is correctly rounded.
// The accurate paths stay callable as kx::real::accurate. The fast kernels are also
// offered unrounded on double-double arguments (wide::fastLog, fastLog1p, fastAtan,
// fastExp, fastSinCos) for the complex power's own fast path, which checks its rounding.
#pragma once

#include <cmath>

#include "core/double_double.h"

namespace kx::real {

// Whether all numbers within relativeBound·|value| of value.high + value.low round to
// value.high (value normalised, high = RN(high + low), normal and well inside the range).
// The margin is formed with rounding errors far below itself (|low| <= ulp(high)/2 and
// the bounds used are above 2^-70), and the bounds passed in carry a factor 2 of slack.
inline bool roundingDecided(DoubleDouble value, double relativeBound) {
    const double margin = relativeBound * std::fabs(value.high);
    return value.high + (value.low - margin) == value.high + (value.low + margin);
}

// The accurate paths behind the fast ones compute the same values to about 2^-100 (the
// errors their kernels give, in their files; measured against balls over random samples, at
// most 2^-102 for the sine and 2^-103 to 2^-104.5 for the others) and test their rounding
// against this bound, with a wide margin above that; what the test leaves undecided (about one accurate call
// in 2^36) is decided on balls (core/ball.h, real/ball_functions.h), so every result is
// the correctly rounded one.
inline constexpr double accurateBound = 0x1p-90;

// roundingDecided, for a value far enough inside the normal range that its margin and
// low part are not subnormal (results near the subnormal range go to the balls).
inline bool accurateRoundingDecided(DoubleDouble value, double relativeBound) {
    constexpr double smallestTested = 0x1p-900;
    constexpr double largestTested = 0x1p+1000;
    const double magnitude = std::fabs(value.high);
    return magnitude >= smallestTested && magnitude <= largestTested && roundingDecided(value, relativeBound);
}

}  // namespace kx::real
