// BigFloat: a binary floating-point number with up to bigFloatMaxLimbs 32-bit limbs of
// mantissa and an int exponent, the midpoint of a ball (core/ball.h). The operations take
// the number of limbs of their result and truncate to it, and they return in `error` an
// upper bound of the absolute difference between their exact result and the one returned,
// which the ball adds to its radius. All of it is integer arithmetic on 32-bit limbs with
// 64-bit products: the same bits on every target.
#pragma once

#include <cstdint>

#include "core/double_double.h"
#include "core/magnitude.h"

namespace kx {

inline constexpr int bigFloatMaxLimbs = 84;  // 2688 bits

// ±(limbs[count-1] ... limbs[0] as an integer)·2^(exponent - 32·count), limbs[0] the least
// significant; limbs[count-1] has its top bit set, so the magnitude lies in
// [2^(exponent-1), 2^exponent). Zero has count 0. Limbs from count on are not read.
struct BigFloat {
    std::uint32_t limbs[bigFloatMaxLimbs];
    int count;
    int exponent;
    bool negative;
};

BigFloat zeroBigFloat();
BigFloat bigFloatFromDouble(double x);        // exact; x finite
BigFloat bigFloatFromMagnitude(Magnitude m);  // exact

inline bool isZero(const BigFloat& a) { return a.count == 0; }
inline BigFloat negated(BigFloat a) {
    a.negative = !a.negative;
    return a;
}
inline BigFloat absolute(BigFloat a) {
    a.negative = false;
    return a;
}

// The integer raw[count-1..0] (raw[0] least significant) times 2^unitExponent, signed,
// truncated to `limbs` limbs: the rounding step of every operation.
BigFloat normalisedFromLimbs(const std::uint32_t* raw, int count, long unitExponent, bool negative, int limbs,
                             Magnitude& error);

BigFloat truncated(const BigFloat& a, int limbs, Magnitude& error);
BigFloat sum(const BigFloat& a, const BigFloat& b, int limbs, Magnitude& error);
BigFloat product(const BigFloat& a, const BigFloat& b, int limbs, Magnitude& error);
BigFloat quotient(const BigFloat& a, const BigFloat& b, int limbs, Magnitude& error);  // b nonzero
BigFloat quotient(const BigFloat& a, std::uint32_t divisor, int limbs, Magnitude& error);  // divisor nonzero
BigFloat squareRoot(const BigFloat& a, int limbs, Magnitude& error);  // a >= 0

// -1, 0 or 1 as |a| < |b|, |a| = |b|, |a| > |b|.
int compareMagnitudes(const BigFloat& a, const BigFloat& b);
// Bounds of |a|.
Magnitude magnitudeUp(const BigFloat& a);
Magnitude magnitudeDown(const BigFloat& a);
// |a| = value·2^exponent with value in [0.5, 1) to about 106 bits, signed as a: a first
// estimate for the functions' Newton steps. Zero for a zero a.
ScaledDoubleDouble leadingDoubleDouble(const BigFloat& a);
// The double nearest to |a| as integer·2^exponent (ties to even, on the subnormal grid:
// exponent >= -1074, integer <= 2^53), or an overflow when it is beyond the largest double's
// rounding range.
struct GridPoint {
    std::uint64_t integer;
    int exponent;
    bool overflow;
};
GridPoint nearestGridPoint(const BigFloat& a);
// The double nearest to a, signed as a (±inf on overflow).
double nearestDouble(const BigFloat& a);

}  // namespace kx
