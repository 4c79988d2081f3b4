// The inverse functions' formulas on both kinds of balls: wherever the double-double ball of
// a part rounds to one double, the multiprecision evaluation of the same formula must round
// to that double too (a radius that understated an error would show here, at arguments the
// reference tables do not hold).
#include "complex/inverse_formulas.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "core/ball.h"
#include "real/ball_kinds.h"
#include "real/multiprecision_ball_kind.h"

namespace kx::inverse {
namespace {

using real::DoubleDoubleBallKind;
using real::MultiprecisionBallKind;

// first-quadrant arguments near 1, near i, tiny, huge and ordinary
std::vector<std::pair<double, double>> arguments() {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto power = [&](double low, double high) { return std::pow(10.0, low + (high - low) * unit(random)); };
    std::vector<std::pair<double, double>> points;
    for (int k = 0; k < 60; ++k) {
        points.push_back({3.0 * unit(random), 3.0 * unit(random)});
        points.push_back({1.0 + (unit(random) < 0.5 ? -1.0 : 1.0) * power(-16, -2), power(-16, -2)});
        points.push_back({power(-16, -2), 1.0 + (unit(random) < 0.5 ? -1.0 : 1.0) * power(-16, -2)});
        points.push_back({power(-300, -20), power(-300, -20)});
        points.push_back({power(20, 300), power(-3, 300)});
    }
    return points;
}

// Whether every part the fast ball decides is the multiprecision evaluation's rounding.
template <class Evaluation>
void expectSameRounding(const Evaluation& evaluation, double x, double y, const char* formula) {
    const auto fast = evaluation(DoubleDoubleBallKind{});
    double re = 0.0, im = 0.0;
    if (real::roundsToOneDouble(fast.first, re)) {
        EXPECT_EQ(re, roundedByBalls([&](int bits) { return evaluation(MultiprecisionBallKind{bits}).first; }))
            << formula << " real part at " << x << ", " << y;
    }
    if (real::roundsToOneDouble(fast.second, im)) {
        EXPECT_EQ(im, roundedByBalls([&](int bits) { return evaluation(MultiprecisionBallKind{bits}).second; }))
            << formula << " imaginary part at " << x << ", " << y;
    }
}

TEST(inverse_formulas, fast_decisions_are_the_multiprecision_roundings) {
    for (const auto& [x, y] : arguments()) {
        for (const bool reciprocal : {false, true}) {
            for (const bool arcsine : {false, true}) {
                expectSameRounding(
                    [&](const auto& kind) {
                        const auto distancesOn = [&](const auto& k) {
                            return reciprocal ? reciprocalDistances(k, x, y) : directDistances(k, x, y);
                        };
                        const ArcsinePlan plan = arcsinePlan(distancesOn(DoubleDoubleBallKind{}));
                        const auto parts = hullFairgrieveTang(kind, distancesOn(kind), plan, arcsine);
                        return std::pair{parts.angle, parts.inverseCoshOfA};
                    },
                    x, y, "Hull, Fairgrieve and Tang");
            }
        }
        for (const bool cotangent : {false, true}) {
            expectSameRounding(
                [&](const auto& kind) {
                    const auto parts = kahanArctangent(kind, x, y, cotangent);
                    return std::pair{parts.twiceReal, parts.imaginary};
                },
                x, y, "Kahan");
        }
        if (x < 1.0) {
            expectSameRounding([&](const auto& kind) { return std::pair{inverseHyperbolicTangentOf(kind, x), inverseHyperbolicSecantOf(kind, x)}; },
                               x, y, "atanh t, acosh(1/t)");
        } else if (x > 1.0) {
            expectSameRounding([&](const auto& kind) { return std::pair{arcsecantOf(kind, x), arccosecantOf(kind, x)}; }, x, y,
                               "acos(1/t), asin(1/t)");
            expectSameRounding([&](const auto& kind) {
                return std::pair{inverseHyperbolicCotangentOf(kind, x), inverseHyperbolicSineOfReciprocal(kind, x)};
            }, x, y, "atanh(1/t), asinh(1/t)");
        }
    }
}

}  // namespace
}  // namespace kx::inverse
