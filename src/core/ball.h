// Ball arithmetic: a real number known to lie within [mid - radius, mid + radius], where mid
// is a binary floating-point number of a chosen precision (up to ballMaxBits bits) and
// radius an upper bound on every error made so far (rounding of mid, errors of series and
// constants). The functions that cannot yet decide the rounding of a result from a
// double-double evaluate it again on balls, with more bits each time, until every point of
// the ball rounds to the same double: that double is then the correctly rounded result.
//
// Everything here is integer arithmetic on 32-bit limbs (products in 64 bits), so a ball
// is the same on every target. No heap: a ball holds its limbs inline.
#pragma once

#include <cstdint>
#include <optional>

namespace kx {

inline constexpr int ballMaxBits = 2560;  // the widest mid; the evaluations double from 128 bits

class Ball {
public:
    // Exactly x (radius 0), with results derived from it rounded to `bits` bits (the larger
    // precision of two operands wins). x must be finite.
    Ball(double x, int bits);
    int bits() const;
    // Whether the ball lost every bound (an operation outside its domain, an exponent out
    // of range): such a ball never rounds.
    bool unbounded() const;
    // Whether every point of the ball is above zero, below zero.
    bool positive() const;
    bool negative() const;

    // The representation is private to the implementation (ball.cpp).
    struct Representation;
    // ...
};

Ball operator-(const Ball& a);
Ball operator+(const Ball& a, const Ball& b);
Ball operator-(const Ball& a, const Ball& b);
Ball operator*(const Ball& a, const Ball& b);
Ball operator/(const Ball& a, const Ball& b);  // unbounded when b may be zero
Ball abs(const Ball& a);
Ball sqrt(const Ball& a);                       // of the part of the ball at or above 0; unbounded when all of it is below
Ball scaled(const Ball& a, int exponent);       // a·2^exponent, exact

// The double that every point of the ball rounds to (nearest, ties to even, on the subnormal
// grid below 2^-1022, ±inf beyond the largest double's rounding range), or nothing when the
// ball is unbounded or contains a rounding boundary (so also when it contains zero and has
// a nonzero radius: the sign of a zero is the caller's to decide).
std::optional<double> roundedToDouble(const Ball& a);

// f evaluated on balls of 128, 256, ... bits up to ballMaxBits until roundedToDouble
// decides; the last ball's midpoint rounded when none does (a true value exactly on a
// rounding boundary, which callers recognise before coming here).
template <class Evaluation>
double roundedByBalls(Evaluation f);

}  // namespace kx
