// The formulas of the inverse functions (see inverse.cpp), written once over a kind of number
// (real/ball_kinds.h): evaluated on double-double balls for the fast path and on
// multiprecision balls for the accurate one. Every formula here is an identity, exact
// wherever it is taken, so each kind's ball holds the true value; the choices between them
// are made from the doubles x and y alone (a plan, from the double-double evaluation of
// the same builders), so both kinds take the same ones.
//
// For x, y >= 0 (the first quadrant; the callers give the signs), Hull, Fairgrieve and
// Tang's quantities r = |z + 1|, s = |z - 1|, A = (r + s)/2 >= 1 and B = x/A give
//   asin z = asin B + i acosh A,  acos z = acos B - i acosh A,  acosh z = acosh A + i acos B,
// with asin B = atan2(x, c), acos B = atan2(c, x) for c = sqrt(A² - x²) = sqrt((A - x)(A + x)),
// and acosh A = ln(A + sqrt((A - 1)(A + 1))) or, below A = 1.5, ln(1 + (A - 1) + sqrt(...)).
// With S = s + |1 - x| and R = r + 1 + x, r - (1 + x) = y²/R and s - |1 - x| = y²/S, so
// the one of A - 1, A - x that can be small is y²·K, K = (1/R + 1/S)/2, and the other is
// (y²/R + S)/2: no difference of close numbers is formed. Where y² would underflow, the
// products y·(yK) and sqrt(y)·sqrt(yK·c) take the place of y²K and sqrt(y²K·c).
//
// For the reciprocal functions the same quantities belong to w = z/|z|², the first-quadrant
// image of 1/z, and are formed from z: |w ± 1| = |z ± 1|/|z|, and |1 - Re w| =
// |x(x - 1) + y²|/|z|², from exact squares and x - 1.
//
// Kahan's arctangent: atan z = (½ atan2(2x, 1 - x² - y²), ¼ log1p(4y/(x² + (1 - y)²))),
// and acot z = atan(1/z) = (½ atan2(2x, x² + y² - 1), -¼ log1p(...)) from z itself; next to
// ±i the imaginary part is ½(ln|z + i| - ln|z - i|).
//
// Scales: a part beyond 2^450 scales z by 2^-e (e its exponent), so that no square
// overflows: the quantities are then those of z·2^-e, with the unit 1 replaced by 2^-e
// (every formula above is homogeneous but for the logarithm, which adds e·ln 2). The
// reciprocal of a z below 2^-450 is scaled likewise by 2^e.
#pragma once

#include <cmath>

#include "core/double_double.h"
#include "core/double_double_ball.h"

namespace kx::inverse {

// Beyond (below) these magnitudes of the larger part, z (w) is scaled.
inline constexpr double largestUnscaledPart = 0x1p450;
inline constexpr double smallestUnscaledPart = 0x1p-450;
// Below this (scaled) imaginary part y² is not formed.
inline constexpr double smallestSquaredPart = 0x1p-450;
// Hull, Fairgrieve and Tang's crossovers: B above 0.6417 takes A - x without cancellation,
// A above 1.5 takes the logarithm rather than log1p.
inline constexpr double arcsineCrossover = 0.6417;
inline constexpr double logarithmCrossover = 1.5;

// The exponent e by which z is scaled: that of the larger part beyond 2^450, 0 otherwise.
inline int largeScale(double x, double y) {
    const double larger = std::fmax(x, y);
    if (!(larger > largestUnscaledPart)) return 0;
    int exponent = 0;
    std::frexp(larger, &exponent);
    return exponent;
}

// The exponent by which the reciprocal's z is scaled: beyond 2^450 as largeScale, below
// 2^-450 that of the larger part (negative), 0 otherwise.
inline int reciprocalScale(double x, double y) {
    const double larger = std::fmax(x, y);
    if (larger >= smallestUnscaledPart && larger <= largestUnscaledPart) return 0;
    int exponent = 0;
    std::frexp(larger, &exponent);
    return exponent;
}

// Hull, Fairgrieve and Tang's quantities of x + iy (x, y >= 0), all on one scale: the true
// ones are these times 2^exponent, and one is 2^-exponent.
template <class Number>
struct UnitDistances {
    Number x, y, one;
    Number r, s, A;
    Number onePlusX;       // one + x
    Number distanceToOne;  // |one - x|
    int exponent;
    bool beyondOne;        // x > one
};

// The choices of the arcsine formulas for one argument.
struct ArcsinePlan {
    bool beyondOne;
    bool logarithmOfA;    // acosh A = ln(A + ...) (always for a scaled argument)
    bool directDifference;  // B <= 0.6417: A - x formed as it is
    bool tinyImaginary;   // y² not formed
};

template <class Kind>
typename Kind::Number scaledPart(const Kind& k, double value, int exponent) {
    return exponent == 0 ? k.exact(value) : k.exactScaled(value, -exponent);
}

// The quantities of z = x + iy itself, scaled by 2^-largeScale(x, y).
template <class Kind>
UnitDistances<typename Kind::Number> directDistances(const Kind& k, double x, double y) {
    using Number = typename Kind::Number;
    const int e = largeScale(x, y);
    const bool beyondOne = x > 1.0;
    const Number xs = scaledPart(k, x, e), ys = scaledPart(k, y, e);
    const Number one = scaledPart(k, 1.0, e);
    const Number onePlusX = e == 0 ? k.exactSum(1.0, x) : one + xs;
    const Number distance = e == 0 ? (beyondOne ? k.exactSum(x, -1.0) : k.exactSum(1.0, -x)) : (beyondOne ? xs - one : one - xs);
    const Number r = k.hypot(onePlusX, ys);
    const Number s = k.hypot(distance, ys);
    return {xs, ys, one, r, s, k.scaled(r + s, -1), onePlusX, distance, e, beyondOne};
}

// The quantities of w = (x + iy)/|z|², formed from z. For a large z, w is small and
// unscaled (z is scaled to form it); otherwise w is scaled by 2^e with e = reciprocalScale
// <= 0, its unit 2^e.
template <class Kind>
UnitDistances<typename Kind::Number> reciprocalDistances(const Kind& k, double x, double y) {
    using Number = typename Kind::Number;
    const int e = reciprocalScale(x, y);
    const Number xs = scaledPart(k, x, e), ys = scaledPart(k, y, e);
    const Number squaredModulus = xs * xs + ys * ys;
    const Number modulus = k.sqrt(squaredModulus);
    const bool xBeyondOne = x > 1.0;
    if (e > 0) {  // w below 2^-449: its parts are formed scaled back, its unit is 1
        const Number scaledOne = k.exactScaled(1.0, -e);
        const Number wx = k.scaled(xs / squaredModulus, -e);
        const Number wy = k.scaled(ys / squaredModulus, -e);
        const Number r = k.hypot(xs + scaledOne, ys) / modulus;
        const Number s = k.hypot(xBeyondOne ? xs - scaledOne : scaledOne - xs, ys) / modulus;
        const Number one = k.exact(1.0);
        return {wx, wy, one, r, s, k.scaled(r + s, -1), one + wx, one - wx, 0, false};
    }
    // |z|² - x = x(x - 1) + y², on the scale 2^e: x·2^-e·(x - 1) + y·2^-e·y.
    const double approximateDifference = x * (x - 1.0) + y * y;
    const bool beyondOne = approximateDifference < 0.0;  // Re w > 1
    const Number difference = xs * k.exactSum(x, -1.0) + ys * k.exact(y);
    const Number wx = xs / squaredModulus;
    const Number wy = ys / squaredModulus;
    const Number r = k.hypot(k.exactSum(x, 1.0), k.exact(y)) / modulus;
    const Number s = k.hypot(xBeyondOne ? k.exactSum(x, -1.0) : k.exactSum(1.0, -x), k.exact(y)) / modulus;
    const Number one = e == 0 ? k.exact(1.0) : k.exactScaled(1.0, e);
    const Number distance = (beyondOne ? -difference : difference) / squaredModulus;
    return {wx, wy, one, r, s, k.scaled(r + s, -1), one + wx, distance, -e, beyondOne};
}

// The plan of the formulas, from the midpoints of the quantities on double-double balls
// (both kinds follow it; an unbounded quantity leaves the plan's choices exact, if slow).
inline ArcsinePlan arcsinePlan(const UnitDistances<DoubleDoubleBall>& d) {
    const double a = d.A.mid.high, one = d.one.mid.high;
    return {d.beyondOne, d.exponent != 0 || a > logarithmCrossover * one, d.x.mid.high <= arcsineCrossover * a,
            d.y.mid.high < smallestSquaredPart};
}

// acosh A, and asin B (arcsine) or acos B, of the quantities d.
template <class Number>
struct ArcsineParts {
    Number angle;
    Number inverseCoshOfA;
};

template <class Kind>
ArcsineParts<typename Kind::Number> hullFairgrieveTang(const Kind& k, const UnitDistances<typename Kind::Number>& d,
                                                         const ArcsinePlan& plan, bool arcsine) {
    using Number = typename Kind::Number;
    // The small one of A - 1, A - x (near, A - 1 for x <= 1) and the other (far), formed only
    // where the plan needs them; nearRoot(c) = sqrt(near·c). Where y² is not formed,
    // near = y·(yK) with yK = (y/R + y/S)/2 (y/S <= 1: S >= y) and nearRoot(c) =
    // sqrt(y)·sqrt(yK·c).
    const bool nearForA = !plan.logarithmOfA && !plan.beyondOne;
    const bool nearForX = !plan.directDifference && plan.beyondOne;
    const bool farForA = !plan.logarithmOfA && plan.beyondOne;
    const bool farForX = !plan.directDifference && !plan.beyondOne;
    Number near = d.one, far = d.one, yTimesK = d.one, rootOfY = d.one;
    if (nearForA || nearForX || farForA || farForX) {
        const Number sumPlus = d.r + d.onePlusX;        // R = r + 1 + x
        const Number sumMinus = d.s + d.distanceToOne;  // S = s + |1 - x|
        if (plan.tinyImaginary) {
            const Number plusTerm = d.y / sumPlus;
            if (nearForA || nearForX) {
                yTimesK = k.scaled(plusTerm + d.y / sumMinus, -1);
                rootOfY = k.sqrt(d.y);
                near = d.y * yTimesK;
            }
            if (farForA || farForX) far = k.scaled(d.y * plusTerm + sumMinus, -1);
        } else {
            const Number ySquared = d.y * d.y;
            const Number plusTerm = ySquared / sumPlus;
            if (nearForA || nearForX) near = k.scaled(plusTerm + ySquared / sumMinus, -1);
            if (farForA || farForX) far = k.scaled(plusTerm + sumMinus, -1);
        }
    }
    const auto nearRoot = [&](const Number& c) {
        return plan.tinyImaginary ? rootOfY * k.sqrt(yTimesK * c) : k.sqrt(near * c);
    };
    // acosh A
    Number inverseCosh = d.one;
    if (plan.logarithmOfA) {
        inverseCosh = k.log(d.A + k.sqrt((d.A - d.one) * (d.A + d.one)));
        if (d.exponent != 0) inverseCosh = inverseCosh + k.exact(static_cast<double>(d.exponent)) * k.lnTwo();
    } else {
        const Number aPlusOne = d.A + d.one;
        const Number root = nearForA ? nearRoot(aPlusOne) : k.sqrt(far * aPlusOne);
        inverseCosh = k.log1p((nearForA ? near : far) + root);
    }
    // c = sqrt((A - x)(A + x))
    const Number aPlusX = d.A + d.x;
    Number cosineFactor = d.one;
    if (plan.directDifference) cosineFactor = k.sqrt((d.A - d.x) * aPlusX);
    else cosineFactor = nearForX ? nearRoot(aPlusX) : k.sqrt(far * aPlusX);
    const Number angle = arcsine ? k.atan2(d.x, cosineFactor) : k.atan2(cosineFactor, d.x);
    return {angle, inverseCosh};
}

// Kahan's arctangent of x + iy (x, y > 0), or the arccotangent's: twice the real part's
// magnitude (the angle) and the imaginary part's magnitude.
template <class Number>
struct ArctangentParts {
    Number twiceReal;
    Number imaginary;
};

// Next to ±i: x and |1 - y| below 2^-450.
inline bool nearPole(double x, double y) { return x < smallestUnscaledPart && std::fabs(1.0 - y) < smallestUnscaledPart; }

template <class Kind>
ArctangentParts<typename Kind::Number> kahanArctangent(const Kind& k, double x, double y, bool cotangent) {
    using Number = typename Kind::Number;
    const int e = largeScale(x, y);
    const Number xs = scaledPart(k, x, e), ys = scaledPart(k, y, e);
    const Number one = scaledPart(k, 1.0, e);
    const Number oneMinusY = e == 0 ? k.exactSum(1.0, -y) : one - ys;
    const Number onePlusY = e == 0 ? k.exactSum(1.0, y) : one + ys;
    const Number xSquared = xs * xs;
    const Number difference = oneMinusY * onePlusY - xSquared;  // (1 - |z|²)·2^-2e
    const Number twiceX = e == 0 ? k.scaled(xs, 1) : k.scaled(xs * one, 1);
    const Number angle = k.atan2(twiceX, cotangent ? -difference : difference);
    if (e == 0 && nearPole(x, y)) {
        const Number logRatio = k.log(k.hypot(xs, onePlusY)) - k.log(k.hypot(xs, oneMinusY));
        return {angle, k.scaled(logRatio, -1)};
    }
    const Number fourY = e == 0 ? k.scaled(ys, 2) : k.scaled(ys * one, 2);
    const Number quotient = fourY / (xSquared + oneMinusY * oneMinusY);
    return {angle, k.scaled(k.log1p(quotient), -2)};
}

// --- The real functions of the axes ------------------------------------------------------

// atanh t = ½ log1p(2t/(1 - t)) for 0 < t < 1.
template <class Kind>
typename Kind::Number inverseHyperbolicTangentOf(const Kind& k, double t) {
    return k.scaled(k.log1p(k.exact(2.0 * t) / k.exactSum(1.0, -t)), -1);
}

// sqrt(t² - 1) for t > 1 on the scale 2^-e of t (e = largeScale), and that unit.
template <class Kind>
typename Kind::Number scaledRootOfSquareMinusOne(const Kind& k, double t, int e) {
    if (e == 0) return k.sqrt(k.exactSum(t, -1.0) * k.exactSum(t, 1.0));
    const auto ts = k.exactScaled(t, -e), one = k.exactScaled(1.0, -e);
    return k.sqrt((ts - one) * (ts + one));
}

// acos(1/t) = atan2(sqrt(t² - 1), 1) for t > 1.
template <class Kind>
typename Kind::Number arcsecantOf(const Kind& k, double t) {
    const int e = largeScale(t, 0.0);
    return k.atan2(scaledRootOfSquareMinusOne(k, t, e), scaledPart(k, 1.0, e));
}

// asin(1/t) = atan2(1, sqrt(t² - 1)) for t > 1.
template <class Kind>
typename Kind::Number arccosecantOf(const Kind& k, double t) {
    const int e = largeScale(t, 0.0);
    return k.atan2(scaledPart(k, 1.0, e), scaledRootOfSquareMinusOne(k, t, e));
}

// acosh(1/t) = ln((1 + sqrt((1 - t)(1 + t)))/t) for 0 < t < 1, the quotient's logarithm
// as a difference of logarithms below 2^-450 (where 1/t could overflow).
template <class Kind>
typename Kind::Number inverseHyperbolicSecantOf(const Kind& k, double t) {
    const auto numerator = k.exact(1.0) + k.sqrt(k.exactSum(1.0, -t) * k.exactSum(1.0, t));
    if (t < smallestUnscaledPart) return k.log(numerator) - k.log(k.exact(t));
    return k.log(numerator / k.exact(t));
}

// atanh(1/t) = ½ log1p(2/(t - 1)) for t > 1.
template <class Kind>
typename Kind::Number inverseHyperbolicCotangentOf(const Kind& k, double t) {
    const int e = largeScale(t, 0.0);
    const auto quotient = e == 0 ? k.exact(2.0) / k.exactSum(t, -1.0)
                                 : k.scaled(k.exact(2.0) / (k.exactScaled(t, -e) - k.exactScaled(1.0, -e)), -e);
    return k.scaled(k.log1p(quotient), -1);
}

// asinh(1/t) = log1p((1 + 1/(t + sqrt(t² + 1)))/t) for t > 0 (a sum of positive terms);
// below 2^-450, ln(1 + sqrt(1 + t²)) - ln t.
template <class Kind>
typename Kind::Number inverseHyperbolicSineOfReciprocal(const Kind& k, double t) {
    const auto one = k.exact(1.0);
    if (t < smallestUnscaledPart) return k.log(one + k.sqrt(one + k.exact(t) * k.exact(t))) - k.log(k.exact(t));
    const int e = largeScale(t, 0.0);
    if (e == 0) {
        const auto ts = k.exact(t);
        return k.log1p((one + one / (ts + k.sqrt(ts * ts + one))) / ts);
    }
    const auto ts = k.exactScaled(t, -e), scaledOne = k.exactScaled(1.0, -e);
    const auto reciprocalSum = scaledOne / (ts + k.hypot(ts, scaledOne));  // 1/(t + sqrt(t² + 1))
    return k.log1p(k.scaled((one + reciprocalSum) / ts, -e));
}

}  // namespace kx::inverse
