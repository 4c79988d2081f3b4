// The multiprecision balls of core/ball.h as a kind of number for the formulas of
// ball_kinds.h: every constant made at the kind's precision, the functions of
// real/ball_functions.h, and a wide exponent range, so no formula needs its scaled forms.
#pragma once

#include "core/ball.h"
#include "real/ball_functions.h"

namespace kx::real {

struct MultiprecisionBallKind {
    using Number = Ball;
    static constexpr bool wideExponents = true;
    int bits;

    Number exact(double value) const { return Ball(value, bits); }
    Number exactSum(double a, double b) const { return Ball(a, bits) + Ball(b, bits); }
    Number exactScaled(double value, int exponent) const { return kx::scaled(Ball(value, bits), exponent); }
    Number sqrt(const Number& a) const { return kx::sqrt(a); }
    Number scaled(const Number& a, int exponent) const { return kx::scaled(a, exponent); }
    Number hypot(const Number& a, const Number& b) const { return kx::sqrt(a * a + b * b); }
    Number log(const Number& a) const { return real::log(a); }
    Number log1p(const Number& a) const { return real::log1p(a); }
    Number atan2(const Number& y, const Number& x) const { return real::atan2(y, x); }
    Number halfPi() const { return kx::scaled(real::pi(bits), -1); }
    Number pi() const { return real::pi(bits); }
    Number lnTwo() const { return real::ln2(bits); }
};

}  // namespace kx::real
