// The correctly rounded parts of a formula written over a kind of number (real/ball_kinds.h):
// evaluated first on double-double balls, each part kept when its whole ball rounds to one
// double; a part left undecided is evaluated again on multiprecision balls of doubling
// precision until it rounds (core/ball.h, roundedByBalls). Both balls hold the true part, so
// either way the part is the double nearest to it.
#pragma once

#include "core/complex.h"
#include "core/ball.h"
#include "core/double_double_ball.h"
#include "real/ball_kinds.h"
#include "real/double_double_ball_functions.h"
#include "real/multiprecision_ball_kind.h"

namespace kx {

template <class Number>
struct PartBalls {
    Number re;
    Number im;
};

namespace rounding {

// The part of the evaluation that the fast ball left undecided, from multiprecision balls.
template <class Evaluation, class Part>
double accuratePart(const Evaluation& evaluation, Part part) {
    return roundedByBalls([&](int bits) { return part(evaluation(real::MultiprecisionBallKind{bits})); });
}

}  // namespace rounding

// evaluation(kind) gives a PartBalls of the kind's numbers.
template <class Evaluation>
Complex correctlyRoundedParts(const Evaluation& evaluation) {
    const PartBalls<DoubleDoubleBall> fast = evaluation(real::DoubleDoubleBallKind{});
    Complex result{};
    if (!real::roundsToOneDouble(fast.re, result.re))
        result.re = rounding::accuratePart(evaluation, [](const auto& parts) { return parts.re; });
    if (!real::roundsToOneDouble(fast.im, result.im))
        result.im = rounding::accuratePart(evaluation, [](const auto& parts) { return parts.im; });
    return result;
}

// evaluation(kind) gives one number of the kind.
template <class Evaluation>
double correctlyRoundedValue(const Evaluation& evaluation) {
    const DoubleDoubleBall fast = evaluation(real::DoubleDoubleBallKind{});
    double result = 0.0;
    if (real::roundsToOneDouble(fast, result)) return result;
    return rounding::accuratePart(evaluation, [](const auto& value) { return value; });
}

}  // namespace kx
