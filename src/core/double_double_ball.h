// A double-double ball: a real number known to lie within [mid - radius, mid + radius], mid a
// normalised double-double and radius a double. The fast paths of the correctly rounded
// functions evaluate their formulas on these balls, so that each result carries a rigorous
// bound however much its formula cancels, and its rounding is decided when the whole ball
// rounds to one double (real/double_double_ball_functions.h).
//
// Each operation adds to the radius the spread of its exact result over the operand balls
// and the rounding error of the double-double operation, bounded as in M. Joldes, J.-M.
// Muller, V. Popescu, "Tight and rigorous error bounds for basic building blocks of
// double-word arithmetic", ACM TOMS 44(2), 2017 (u = 2^-53): the sum (ddAdd, their
// AccurateDWPlusDW) within 3u² of the result, the product (ddMultiply) within 7u², the
// quotient (ddDivide, a first quotient and its remainder's correction) within 15u², the
// root (one Newton correction) within 4u²; the bounds used below carry a factor 4 or more.
// Underflow adds at most a few units of 2^-1074 to a product or quotient (its low parts
// and partial products near the subnormal range): errorFloor covers it, divided by the
// divisor where a remainder is divided. The radius is computed in doubles rounded to
// nearest, then enlarged by the factor widened(), which covers those roundings.
//
// A ball that overflows (a part beyond 2^960) or whose divisor or logarithm argument may
// be zero is unbounded: its radius is +inf (or NaN), which every later operation keeps and
// which no rounding test accepts.
#pragma once

#include <cmath>
#include <limits>

#include "core/double_double.h"
#include "core/power_of_two.h"

namespace kx {

struct DoubleDoubleBall {
    DoubleDouble mid;
    double radius;
};

namespace ballBounds {

inline constexpr double addError = 0x1p-102;
inline constexpr double multiplyError = 0x1p-101;
inline constexpr double divideError = 0x1p-99;
inline constexpr double rootError = 0x1p-99;
inline constexpr double errorFloor = 0x1p-1070;
inline constexpr double largestPart = 0x1p960;
inline constexpr double unbounded = std::numeric_limits<double>::infinity();

// A bound computed in a few roundings to nearest, made an upper bound (also of the low part
// of a mid next to its high part, at most 2^-53 of it).
inline double widened(double bound) { return bound * (1.0 + 0x1p-45); }

// |mid| from above and from below.
inline double upperMagnitude(const DoubleDouble& a) { return std::fabs(a.high) * (1.0 + 0x1p-52); }
inline double lowerMagnitude(const DoubleDouble& a) { return std::fabs(a.high) * (1.0 - 0x1p-52); }

}  // namespace ballBounds

inline DoubleDoubleBall exactBall(double value) { return {{value, 0.0}, 0.0}; }
inline DoubleDoubleBall exactBall(DoubleDouble value) { return {value, 0.0}; }

inline DoubleDoubleBall unboundedBall() {
    return {{std::numeric_limits<double>::quiet_NaN(), 0.0}, ballBounds::unbounded};
}

inline DoubleDoubleBall operator-(const DoubleDoubleBall& a) { return {negated(a.mid), a.radius}; }

inline DoubleDoubleBall operator+(const DoubleDoubleBall& a, const DoubleDoubleBall& b) {
    const DoubleDouble sum = ddAdd(a.mid, b.mid);  // additions lose nothing to underflow
    return {sum, ballBounds::widened(a.radius + b.radius + ballBounds::addError * std::fabs(sum.high))};
}

inline DoubleDoubleBall operator-(const DoubleDoubleBall& a, const DoubleDoubleBall& b) { return a + (-b); }

inline DoubleDoubleBall operator*(const DoubleDoubleBall& a, const DoubleDoubleBall& b) {
    using namespace ballBounds;
    if (!(std::fabs(a.mid.high) < largestPart && std::fabs(b.mid.high) < largestPart)) return unboundedBall();
    const DoubleDouble product = ddMultiply(a.mid, b.mid);
    if (!(std::fabs(product.high) < largestPart)) return unboundedBall();
    const double spread = upperMagnitude(a.mid) * b.radius + upperMagnitude(b.mid) * a.radius + a.radius * b.radius;
    return {product, widened(spread + multiplyError * std::fabs(product.high)) + errorFloor};
}

// Unbounded when the divisor's ball may contain zero.
inline DoubleDoubleBall operator/(const DoubleDoubleBall& a, const DoubleDoubleBall& b) {
    using namespace ballBounds;
    const double divisorBelow = lowerMagnitude(b.mid) - b.radius;
    if (!(divisorBelow > 0.0) || !(std::fabs(a.mid.high) < largestPart && std::fabs(b.mid.high) < largestPart))
        return unboundedBall();
    const DoubleDouble quotient = ddDivide(a.mid, b.mid);
    if (!(std::fabs(quotient.high) < largestPart)) return unboundedBall();
    // The underflow of the remainder (errorFloor) is divided by the divisor with the radii.
    const double spread = (a.radius + upperMagnitude(quotient) * b.radius + errorFloor) / divisorBelow;
    return {quotient, widened(spread + divideError * std::fabs(quotient.high)) + errorFloor};
}

// a·2^exponent: exact, but for low parts pushed below the normal range.
inline DoubleDoubleBall scaled(const DoubleDoubleBall& a, int exponent) {
    const double floor = exponent < 0 ? ballBounds::errorFloor : 0.0;
    return {ddTimesPowerOfTwo(a.mid, exponent), ballBounds::widened(scaledByPowerOfTwo(a.radius, exponent)) + floor};
}

// The square root of the part of the ball at or above zero: the radius of the root of
// [m - r, m + r] is at most r/(2 sqrt(m - r)); a ball reaching down to zero gives the ball
// [0, sqrt(m + r)]. An argument outside [2^-900, 2^900] is scaled by an even power of two
// into [1/2, 4) first, so that the Newton correction's products are exact.
inline DoubleDoubleBall sqrt(const DoubleDoubleBall& a) {
    using namespace ballBounds;
    if (a.mid.high == 0.0 && a.radius == 0.0) return a;  // exactly zero
    const double below = lowerMagnitude(a.mid) - a.radius;
    if (a.mid.high <= 0.0 || !(below > 0.0)) {
        const double above = widened(std::fabs(a.mid.high) * (1.0 + 0x1p-52) + a.radius);
        if (!(a.mid.high + above > 0.0)) return unboundedBall();
        const double halfRoot = 0.5 * widened(std::sqrt(above));
        return {{halfRoot, 0.0}, widened(halfRoot)};
    }
    DoubleDouble root{};
    if (a.mid.high >= 0x1p-900 && a.mid.high <= 0x1p900) {
        root = ddSquareRoot(a.mid);
    } else {
        int exponent = 0;
        std::frexp(a.mid.high, &exponent);
        const int halfShift = (exponent - 1) >> 1;  // floor((e - 1)/2): a·2^(-2·halfShift) in [1/2, 4)
        root = ddTimesPowerOfTwo(ddSquareRoot(ddTimesPowerOfTwo(a.mid, -2 * halfShift)), halfShift);
    }
    return {root, widened(a.radius / (2.0 * std::sqrt(below)) + rootError * root.high)};
}

}  // namespace kx
