// The natural logarithm of a double-double, computed with IEEE basic operations only, so
// that every platform gives the same bits (see real_logarithms.cpp for the method).
#pragma once

#include "core/double_double.h"

namespace kx::real {

// ln 2 to 106 bits (mpmath, tests/reference/generate_real_constants.py).
inline constexpr DoubleDouble lnTwo{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// ln u in double-double for a finite u > 0 held as u.high + u.low (|u.low| at most half an
// ulp of u.high), relative error below about 2^-72: for callers that form the argument of a logarithm in double-double.
DoubleDouble logOfDoubleDouble(DoubleDouble u);



}  // namespace kx::real
