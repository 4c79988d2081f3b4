// Exact operations on doubles shared by the real functions: the integer mantissa of a double, the nearest integer and integer tests.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/power_of_two.h"

namespace kx::real {

inline constexpr double infinity = std::numeric_limits<double>::infinity();
inline constexpr double largestDouble = std::numeric_limits<double>::max();
inline constexpr int smallestNormalExponent = -1022;

// x = mantissa·2^(exponent - 53) with mantissa a 53-bit integer, for x positive and normal.
struct IntegerScaled {
    std::uint64_t mantissa;
    int exponent;  // as std::frexp gives it
};

inline IntegerScaled integerScaled(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    constexpr std::uint64_t hiddenBit = std::uint64_t{1} << 52;
    return {(bits & (hiddenBit - 1)) | hiddenBit, static_cast<int>(bits >> 52) - 1022};
}

// The integer nearest to v, ties to even, for |v| < 2^52 (adding 2^52 rounds away the
// fraction, subtracting it is exact).
inline double nearestInteger(double v) {
    constexpr double shifter = 0x1p52;
    const double magnitude = std::fabs(v);
    return std::copysign((magnitude + shifter) - shifter, v);
}

inline bool isInteger(double y) { return std::fabs(y) >= 0x1p52 || nearestInteger(y) == y; }  // y finite

inline bool isOddInteger(double y) { return std::fabs(y) < 0x1p53 && isInteger(y) && !isInteger(0.5 * y); }

}  // namespace kx::real
