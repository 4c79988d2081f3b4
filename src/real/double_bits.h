// Exact operations on doubles shared by the real functions: powers of two formed from their
// bits, the integer mantissa of a double, the nearest integer and integer tests.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kx::real {

inline constexpr double infinity = std::numeric_limits<double>::infinity();
inline constexpr double largestDouble = std::numeric_limits<double>::max();
inline constexpr int smallestNormalExponent = -1022;

// 2^exponent for exponent in [-1022, 1023]: multiplying by it is exactly ldexp when the
// product is normal, and rounds the same way when it overflows.
inline double powerOfTwo(int exponent) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
}

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
