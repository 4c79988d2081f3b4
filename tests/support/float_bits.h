// Exact comparisons of doubles for tests: NaN equals NaN, +0 differs from -0.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "core/complex.h"

namespace kx::test {

inline std::uint64_t bitsOf(double value) { return std::bit_cast<std::uint64_t>(value); }

// Same value in the sense of the calculator: both NaN, or equal with the same sign of zero.
inline bool sameValue(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

inline ::testing::AssertionResult sameComplex(const Complex& actual, const Complex& expected) {
    if (sameValue(actual.re, expected.re) && sameValue(actual.im, expected.im))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.re << ", " << actual.im << ") expected ("
                                         << expected.re << ", " << expected.im << ")";
}

// Distance in units in the last place between two finite doubles of any sign.
// The difference is taken in integers: the bit patterns of large doubles exceed 2^53, so
// as doubles they could not tell neighbours apart.
inline double ulpDistance(double a, double b) {
    auto ordered = [](double x) {  // doubles in order map to integers in order, -0 and +0 to 0
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
        const auto magnitude = static_cast<std::int64_t>(bits & 0x7FFFFFFFFFFFFFFF);
        return (bits >> 63) != 0 ? -magnitude : magnitude;
    };
    const std::int64_t left = ordered(a);
    const std::int64_t right = ordered(b);
    return static_cast<double>(left > right ? static_cast<std::uint64_t>(left) - static_cast<std::uint64_t>(right)
                                            : static_cast<std::uint64_t>(right) - static_cast<std::uint64_t>(left));
}

inline std::uint64_t defaultNaNBits() { return 0xFFF8000000000000; }

}  // namespace kx::test
