// The two kinds of numbers the correctly rounded formulas are written over, behind one set
// of operations: the double-double balls of the fast paths (here) and the multiprecision
// balls of the accurate paths (multiprecision_ball_kind.h). A formula is a template over the
// kind; its numbers are Kind::Number, with + - * / as operators and the rest as members of
// the kind. Both kinds bound every error they make, so a formula that is mathematically exact
// gives a ball that holds the true value, whichever kind evaluates it.
#pragma once

#include "core/double_double.h"
#include "core/double_double_ball.h"
#include "real/double_double_ball_functions.h"

namespace kx::real {

struct DoubleDoubleBallKind {
    using Number = DoubleDoubleBall;
    // Exponent ranges: the double-double balls lose their bounds beyond about 2^±960, so
    // formulas scale their arguments into that range first.
    static constexpr bool wideExponents = false;

    Number exact(double value) const { return exactBall(value); }
    Number exactSum(double a, double b) const { return exactBall(twoSum(a, b)); }  // a + b
    // value·2^exponent: exact, or within 2^-1074 when it falls below the normal range.
    Number exactScaled(double value, int exponent) const {
        const double result = scaledByPowerOfTwo(value, exponent);
        const bool exactResult = std::fabs(result) >= 0x1p-1022 || scaledByPowerOfTwo(result, -exponent) == value;
        return {{result, 0.0}, exactResult ? 0.0 : 0x1p-1074};
    }
    Number sqrt(const Number& a) const { return kx::sqrt(a); }
    Number scaled(const Number& a, int exponent) const { return kx::scaled(a, exponent); }
    Number hypot(const Number& a, const Number& b) const { return real::hypot(a, b); }
    Number log(const Number& a) const { return real::log(a); }
    Number log1p(const Number& a) const { return real::log1p(a); }
    Number atan2(const Number& y, const Number& x) const { return real::atan2(y, x); }
    Number halfPi() const { return halfPiBall(); }
    Number pi() const { return piBall(); }
    Number lnTwo() const { return lnTwoBall(); }
};

}  // namespace kx::real
