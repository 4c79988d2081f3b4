// The exponential's kernels shared with the power (pow.cpp); derivations in exp.cpp.
#pragma once

#include "core/double_double.h"

namespace kx::real {

// |y·ln x| above this is an overflow or underflow of every pow (e^746 > 2^1076).
inline constexpr double exponentArgumentLimit = 746.0;
// The fast exponential's rounding test bound (its error is below 2^-65.3) and the largest
// |t| it takes.
inline constexpr double fastExponentialBound = 0x1p-63;
inline constexpr double fastExponentLimit = 745.0;

// e^t = value·2^exponent, value in about [0.7, 1.42], for |t.high| <= 746, relative
// error about 2^-100.
ScaledDoubleDouble exponential(DoubleDouble t);
// value·2^exponent rounded once to double, value positive in about [0.7, 1.42].
double roundScaled(DoubleDouble value, int exponent);
// The same rounding into result when every number within relativeBound of value rounds alike
// (normal, subnormal or overflowing results); false when the bound does not decide it.
bool decidedScaledRounding(DoubleDouble value, int exponent, double relativeBound, double& result);
// e^t for |t.high| <= 745, t.low <= ulp(t.high)/2, relative error below 2^-65.3.
ScaledDoubleDouble fastExponential(DoubleDouble t);
// e^t rounded, when the fast path decides it within relativeBound (which must cover the
// error of t too) and the result is normal or overflows.
bool fastRoundedExponential(DoubleDouble t, double relativeBound, double& result);

}  // namespace kx::real
