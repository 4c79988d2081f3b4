// z^n for a complex z and an integer n, with the exactness of plain multiplication: a
// power whose parts are doubles comes out exactly, a part that is exactly zero as +0.
#pragma once

#include "core/complex.h"

namespace kx {

// The largest |n| that integerPower takes; beyond it the power goes through exp and ln.
inline constexpr int largestIntegerPower = 1024;

// z^n for finite z and 1 <= |n| <= largestIntegerPower; negative n gives 1/z^|n|, the
// reciprocal of the power held in double-double, rounded once.
Complex integerPower(Complex z, int n);

}  // namespace kx
