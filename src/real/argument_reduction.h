// Argument reduction by pi/2 for the sine and cosine (see argument_reduction.cpp).
#pragma once

#include "core/double_double.h"

namespace kx::real {

// The Cody–Waite reduction is exact in its products for n < 2^20, so for |x| below 2^20.
inline constexpr double shortReductionLimit = 0x1p20;

// x = (4k + quadrant)·pi/2 + remainder.
struct Reduction {
    int quadrant;
    DoubleDouble remainder;
};

// Cody and Waite's reduction for 0 <= x < 2^20, to about 2^-100 of |r| unless |r| < 2^-40.
Reduction reduceShort(double x);
// The same products with lighter sums, for the fast path (error bound in the .cpp).
Reduction fastReduceShort(double x);
// Payne and Hanek's reduction for finite x > 0.
Reduction reduceLong(double x);
// The accurate reduction for finite x > 0: the short one where it keeps |r| >= 2^-40,
// else the long one.
Reduction reduce(double x);

}  // namespace kx::real
