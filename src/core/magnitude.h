// Magnitude: a nonnegative bound mantissa·2^exponent with a double mantissa in [1, 2) (or
// 0) and an exponent of its own, for the radii of balls. Each operation is named for the
// side it rounds to: an upper bound of the exact result (Up) or a lower one (Down). The
// double operations round to nearest, and a step to the next double outward covers that
// rounding; the exponent is kept apart, so squares of the largest and the smallest doubles
// stay in range.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/power_of_two.h"

namespace kx {

struct Magnitude {
    double mantissa;  // 0, or in [1, 2)
    int exponent;
};

inline constexpr Magnitude zeroMagnitude{0.0, 0};

inline bool isZero(Magnitude a) { return a.mantissa == 0.0; }

inline Magnitude powerOfTwoMagnitude(int exponent) { return {1.0, exponent}; }

namespace magnitude_detail {

inline double nextUp(double positive) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(positive) + 1);
}
inline double nextDown(double positive) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(positive) - 1);
}

// value·2^exponent with value positive and finite, written with a mantissa in [1, 2)
// (frexp is exact).
inline Magnitude normalised(double value, int exponent) {
    int shift = 0;
    const double fraction = std::frexp(value, &shift);
    return {2.0 * fraction, exponent + shift - 1};
}

}  // namespace magnitude_detail

// An upper bound of value·2^exponent for a finite value >= 0.
inline Magnitude magnitudeUp(double value, int exponent = 0) {
    if (value == 0.0) return zeroMagnitude;
    return magnitude_detail::normalised(value, exponent);  // exact
}

inline Magnitude addUp(Magnitude a, Magnitude b) {
    using namespace magnitude_detail;
    if (isZero(a)) return b;
    if (isZero(b)) return a;
    if (a.exponent < b.exponent) std::swap(a, b);
    const int gap = a.exponent - b.exponent;
    // Beyond a gap of 60, b is below 2^-59 of a and the step to the next double covers it.
    const double sum = gap > 60 ? a.mantissa : a.mantissa + b.mantissa * powerOfTwo(-gap);
    return normalised(nextUp(sum), a.exponent);
}

inline Magnitude multiplyUp(Magnitude a, Magnitude b) {
    using namespace magnitude_detail;
    if (isZero(a) || isZero(b)) return zeroMagnitude;
    return normalised(nextUp(a.mantissa * b.mantissa), a.exponent + b.exponent);
}

inline Magnitude divideUp(Magnitude a, Magnitude b) {  // b nonzero
    using namespace magnitude_detail;
    if (isZero(a)) return zeroMagnitude;
    return normalised(nextUp(a.mantissa / b.mantissa), a.exponent - b.exponent);
}

// -1, 0 or 1 as a < b, a = b, a > b.
inline int compare(Magnitude a, Magnitude b) {
    if (isZero(a) || isZero(b)) return isZero(a) ? (isZero(b) ? 0 : -1) : 1;
    if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
    return a.mantissa < b.mantissa ? -1 : (a.mantissa > b.mantissa ? 1 : 0);
}

// A lower bound of max(a - b, 0).
inline Magnitude subtractDown(Magnitude a, Magnitude b) {
    using namespace magnitude_detail;
    if (isZero(b)) return a;
    if (compare(a, b) <= 0) return zeroMagnitude;
    const int gap = a.exponent - b.exponent;  // >= 0 as a > b
    const double difference = gap > 60 ? a.mantissa : a.mantissa - b.mantissa * powerOfTwo(-gap);
    if (difference <= 0.0) return zeroMagnitude;
    return normalised(nextDown(difference), a.exponent);
}

// Lower and upper bounds of sqrt(a): the rounded root of the mantissa (doubled for an odd
// exponent) stepped one double down or up.
namespace magnitude_detail {
inline Magnitude squareRootStepped(Magnitude a, double (*step)(double)) {
    if (isZero(a)) return a;
    const bool odd = (a.exponent & 1) != 0;
    const double root = std::sqrt(odd ? 2.0 * a.mantissa : a.mantissa);
    return normalised(step(root), (a.exponent - (odd ? 1 : 0)) / 2);
}
}  // namespace magnitude_detail

inline Magnitude squareRootDown(Magnitude a) { return magnitude_detail::squareRootStepped(a, magnitude_detail::nextDown); }
inline Magnitude squareRootUp(Magnitude a) { return magnitude_detail::squareRootStepped(a, magnitude_detail::nextUp); }

}  // namespace kx
