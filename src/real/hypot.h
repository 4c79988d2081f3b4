// sqrt(x² + y²) without undue overflow or underflow, computed with IEEE basic operations
// only, so that every platform gives the same bits (see hypot.cpp).
#pragma once

namespace kx::real {

// |x + iy|: +inf if either part is infinite (even when the other is NaN), else NaN if
// either is NaN.
double hypot(double x, double y);

}  // namespace kx::real
