// Ball arithmetic: a real number known to lie within [mid - radius, mid + radius], where mid
// is a binary floating-point number of a chosen precision (up to ballMaxBits bits) and
// radius an upper bound on every error made so far (rounding of mid, errors of series and
// constants). The functions that cannot yet decide the rounding of a result from a
// double-double evaluate it again on balls, with more bits each time, until every point of
// the ball rounds to the same double: that double is then the correctly rounded result.
//
// Everything here is integer arithmetic on 32-bit limbs (products in 64 bits), so a ball
// is the same on every target. No heap: a ball holds its limbs inline.
//
// The midpoint is a BigFloat (core/big_float.h) of whole 32-bit limbs, `bits` rounded up to
// a multiple of 32; each operation truncates its midpoint to that many bits and adds the
// truncation to the radius. The radius is a Magnitude (core/magnitude.h), rounded upward at
// every step. Midpoint and radius exponents stay within ±ballExponentLimit: beyond it (and
// outside an operation's domain) a ball is unbounded.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/big_float.h"
#include "core/magnitude.h"

namespace kx {

inline constexpr int ballMaxBits = 2560;  // the widest mid; the evaluations double from 128 bits
// The functions on balls carry this many bits more than their argument inside, and their
// constants as many again: a midpoint holds up to ballMaxBits + 2·ballGuardBits bits.
inline constexpr int ballGuardBits = 64;
inline constexpr int ballLimitBits = 32 * bigFloatMaxLimbs;
static_assert(ballMaxBits + 2 * ballGuardBits <= ballLimitBits);
inline constexpr int ballExponentLimit = 1 << 28;

// The limbs of a midpoint of `bits` bits.
inline int limbsFor(int bits) { return std::clamp((bits + 31) / 32, 1, bigFloatMaxLimbs); }

class Ball {
public:
    // Exactly x (radius 0), with results derived from it rounded to `bits` bits (the larger
    // precision of two operands wins). x must be finite.
    Ball(double x, int bits);
    // mid ± radius at `bits` bits (mid is taken as it is); unbounded when an exponent is out
    // of range.
    Ball(const BigFloat& mid, Magnitude radius, int bits);
    static Ball unboundedBall(int bits);

    int bits() const;
    // Whether the ball lost every bound (an operation outside its domain, an exponent out
    // of range): such a ball never rounds.
    bool unbounded() const;
    // Whether every point of the ball is above zero, below zero.
    bool positive() const;
    bool negative() const;
    const BigFloat& mid() const { return representation_.mid; }
    Magnitude radius() const { return representation_.radius; }

    // The midpoint, the radius, the precision and whether the ball is unbounded.
    struct Representation {
        BigFloat mid;
        Magnitude radius;
        int bits;
        bool unbounded;
    };

private:
    Representation representation_;
};

Ball operator-(const Ball& a);
Ball operator+(const Ball& a, const Ball& b);
Ball operator-(const Ball& a, const Ball& b);
Ball operator*(const Ball& a, const Ball& b);
Ball operator/(const Ball& a, const Ball& b);  // unbounded when b may be zero
Ball operator/(const Ball& a, std::uint32_t divisor);  // divisor > 0
Ball abs(const Ball& a);
Ball sqrt(const Ball& a);                       // of the part of the ball at or above 0; unbounded when all of it is below
Ball scaled(const Ball& a, int exponent);       // a·2^exponent, exact

// a with its midpoint truncated to `bits` bits (the truncation added to the radius), and
// results derived from it at `bits` bits.
Ball withBits(const Ball& a, int bits);
// a with `extra` added to its radius.
Ball widened(const Ball& a, Magnitude extra);
// The midpoint alone, radius 0.
Ball midpoint(const Ball& a);
// Bounds of |x| over the ball (for an unbounded ball, the upper bound is meaningless).
Magnitude magnitudeUp(const Ball& a);
Magnitude magnitudeDown(const Ball& a);

// The double that every point of the ball rounds to (nearest, ties to even, on the subnormal
// grid below 2^-1022, ±inf beyond the largest double's rounding range), or nothing when the
// ball is unbounded or contains a rounding boundary (so also when it contains zero and has
// a nonzero radius: the sign of a zero is the caller's to decide).
std::optional<double> roundedToDouble(const Ball& a);
// The midpoint rounded to the nearest double; NaN for an unbounded ball.
double midpointRounded(const Ball& a);

// f evaluated on balls of 128, 256, ... bits up to ballMaxBits until roundedToDouble
// decides; the last ball's midpoint rounded when none does (a true value exactly on a
// rounding boundary, which callers recognise before coming here).
template <class Evaluation>
double roundedByBalls(Evaluation f) {
    for (int bits = 128;; bits = std::min(2 * bits, ballMaxBits)) {
        const Ball ball = f(bits);
        if (const std::optional<double> rounded = roundedToDouble(ball)) return *rounded;
        if (bits >= ballMaxBits) return midpointRounded(ball);
    }
}

}  // namespace kx
