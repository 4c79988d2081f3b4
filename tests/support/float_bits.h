// Exact comparisons of doubles for tests: NaN equals NaN, +0 differs from -0.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "complex/complex.h"

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

// Distance in units in the last place between two finite doubles of any sign: the number
// of doubles between them, counted in integers (a conversion of the bit patterns to double
// first would lose the low bits, and neighbours would come out 0 or 1024 apart).
inline double ulpDistance(double a, double b) {
    const std::uint64_t magnitudeA = std::bit_cast<std::uint64_t>(a) & 0x7FFFFFFFFFFFFFFF;
    const std::uint64_t magnitudeB = std::bit_cast<std::uint64_t>(b) & 0x7FFFFFFFFFFFFFFF;
    if (std::signbit(a) != std::signbit(b)) return static_cast<double>(magnitudeA + magnitudeB);  // across zero
    return static_cast<double>(magnitudeA > magnitudeB ? magnitudeA - magnitudeB : magnitudeB - magnitudeA);
}

inline std::uint64_t defaultNaNBits() { return 0xFFF8000000000000; }

}  // namespace kx::test
