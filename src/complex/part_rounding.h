// The rounding test of one part of a complex function computed as value·2^exponent, value a
// double-double with a proven relative error, and the choice between the fast paths and
// the balls (for the tests that check a fast path never changes a result).
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/fast_path_rounding.h"

namespace kx {

// Which evaluations a function uses: its fast path first, then its accurate path and the
// balls where those cannot decide; or balls alone.
enum class PartPath { fastFirst, ballsOnly };

// The accurate paths behind the fast ones form the same values from the accurate kernels of
// src/real and of hyperbolic_products.h (errors about 2^-99 and below, as given there) and
// test their rounding against the real functions' accurate bound, with a wide margin above
// those errors; what that leaves undecided goes to the balls.
inline constexpr double accuratePartBound = real::accurateBound;

// Below this magnitude a double-double formed by Dekker products may have lost bits of its
// low part to the subnormal range, so its relative error bound no longer holds.
inline constexpr double smallestDecidedMagnitude = 0x1p-960;

// The exponent frexp gives a finite nonzero v (|v| in [2^(e-1), 2^e)), from its bits where
// v is normal.
inline int binaryExponent(double v) {
    const int biased = static_cast<int>((std::bit_cast<std::uint64_t>(v) >> 52) & 0x7ff);
    if (biased != 0) return biased - 1022;
    int exponent = 0;
    std::frexp(v, &exponent);
    return exponent;
}

// value·2^exponent below 2^-1022 in magnitude (and at least 2^-1077) rounded on the grid of
// 2^-1074, when the margin decides it (see decidedPart). The fraction left after the nearest
// integer is exact but for the low part's addition, whose rounding the 2^-40 covers.
inline bool decidedSubnormalPart(DoubleDouble value, int exponent, double relativeBound, double& result) {
    constexpr double integerShifter = 0x1p52;
    const DoubleDouble units = ddTimesPowerOfTwo(value, exponent + 1074);  // below 2^52
    const double nearest = std::copysign((std::fabs(units.high) + integerShifter) - integerShifter, units.high);
    const double fraction = (units.high - nearest) + units.low;
    if (!(std::fabs(fraction) + relativeBound * std::fabs(units.high) < 0.5 - 0x1p-40)) return false;
    result = nearest == 0.0 ? std::copysign(0.0, value.high) : nearest * 0x1p-1074;
    return true;
}

// value·2^exponent rounded to nearest, when every number within relativeBound·|value| of
// value rounds to the same double r and r·2^exponent is normal or beyond the largest
// double (then every such number overflows alike: rounding with an unbounded exponent and
// then scaling is what IEEE rounding does outside the subnormal range), or when
// value·2^exponent is at least 2^1024 (an infinity) or below 2^-1076 (a zero), whatever
// the bound (below 2^-50). Below 2^-1022 the rounding is on the grid of 2^-1074: value in
// units of 2^-1074 (below 2^52, its low part scaled exactly or negligibly) is rounded to an
// integer when every number within the margin lies less than half a unit from it. False
// near a rounding boundary and for |value| below smallestDecidedMagnitude. value is
// normalised (high is the rounding of high + low); the bound passed in is twice the proven
// error, the slack covering the rounding of the margin itself.
inline bool decidedPart(DoubleDouble value, int exponent, double relativeBound, double& result) {
    const double magnitude = std::fabs(value.high);
    if (!(magnitude >= smallestDecidedMagnitude && magnitude <= std::numeric_limits<double>::max())) return false;
    const int valueExponent = binaryExponent(magnitude);  // |value| in [2^(valueExponent - 1), 2^valueExponent) but for a hair
    if (valueExponent - 1 + exponent >= 1025) {
        result = std::copysign(std::numeric_limits<double>::infinity(), value.high);
        return true;
    }
    if (valueExponent + exponent <= -1076) {
        result = std::copysign(0.0, value.high);
        return true;
    }
    if (valueExponent + exponent <= -1022) return decidedSubnormalPart(value, exponent, relativeBound, result);
    if (!real::roundingDecided(value, relativeBound)) return false;
    result = scaledByPowerOfTwo(value.high, exponent);
    return std::fabs(result) >= std::numeric_limits<double>::min();
}

// v = value·2^exponent with |value.high| in [1/2, 1), exactly (the low part of a tiny v only
// gains exponent; that of a v near 1 stays normal), so that products of such values stay
// far from both ends of the range; a zero v is {0, 0}·2^0.
inline ScaledDoubleDouble normalised(DoubleDouble v) {
    if (v.high == 0.0) return {{0.0, 0.0}, 0};
    const int exponent = binaryExponent(v.high);
    return {ddTimesPowerOfTwo(v, -exponent), exponent};
}

inline ScaledDoubleDouble normalised(ScaledDoubleDouble v) {
    const ScaledDoubleDouble inner = normalised(v.value);
    return {inner.value, inner.exponent + v.exponent};
}

}  // namespace kx
