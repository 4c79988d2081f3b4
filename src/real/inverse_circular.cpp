// Portable real atan2, atan, asin and acos, from IEEE basic operations and double-double
// arithmetic only, each rounded once at the end.
//
// atan2: the angle of (|x|, |y|) is atan(q) or pi/2 - atan(q) with q = min/max <= 1 (a
//   double-double quotient of the parts scaled alike), reflected to pi - angle for x < 0
//   (or x = -0), signed by y. atan q = atan(j/8) + atan u, u = (q - j/8)/(1 + q·j/8),
//   |u| <= 1/16, by its series (14 terms); atan(j/8) from a table. Before the final
//   rounding the double-double result is within about 2^-49 ulp of the exact value, as
//   measured against mpmath on random samples.
//   Fast path (fast_path_rounding.h): a reduction by sixty-fourths and a short series in
//   plain doubles, whose bound is derived at fastArctangentOfRatio.
//
// atan, asin and acos reduce to the arctangent of a quotient num/den of non-negative
//   double-doubles: when num > den, atan(num/den) = pi/2 - atan(den/num), so the kernel
//   (atan2's, arctangentOfUnitRange) sees t in [0, 1]; asin x = atan(x/sqrt((1-x)(1+x)))
//   and acos x = atan(sqrt((1-x)(1+x))/x), the root formed in double-double. Everything
//   is kept in double-double and rounded once. Relative error of the double-double result
//   below about 2^-99: 1 - x and 1 + x are exact, their product and its root (one Newton
//   step) within 2^-104 and 2^-103, the quotient (one correction) within 2^-103, the atan
//   kernel within about 2^-100, and neither atan (whose condition number t/((1 + t²)·atan t)
//   is at most 1) nor pi/2 - angle or pi - angle (at least as large as the angle) enlarges
//   a relative error; measured against balls, at most 2^-103.8 over samples near 0 and 1.
//   In front of that, the fast path of atan2 takes the angle of (1, x), (root, x) or
//   (x, root), the root's low part carried into its quotient; where it decides the
//   rounding, the result is the correctly rounded one.
//
// Each accurate result is rounded where its test against accurateBound decides, else the
// function is evaluated on balls (fast_path_rounding.h), so all four are correctly rounded. Their values at doubles other than 0, and ±1 for asin
// and acos, are transcendental; below 2^-27 atan x and asin x round to x. When the ratio of
// atan2's parts is below 2^-60, atan q rounds as q does (q's distance to a halfway point is at
// least about 2^-108 of q, far above q²/3) unless q is subnormal, where the balls decide.
//
// The constants pi, pi/2, atan(j/8), atan(j/64) and the series coefficients:
// tools/generate_real_tables.py.
#include "real/inverse_circular.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "core/complex.h"
#include "core/power_of_two.h"
#include "core/double_double.h"
#include "real/ball_functions.h"
#include "real/double_bits.h"
#include "real/fast_path_rounding.h"
#include "real/series.h"
#include "real/tables.h"

namespace kx::real {

using namespace tables;

namespace {

// atan2: when the smaller part is below 2^-60 of the larger, atan of their ratio rounds to
// the ratio.
constexpr int tinyRatioExponent = 60;

bool ratioIsTiny(double larger, double smaller) {
    int largerExponent = 0;
    int smallerExponent = 0;
    std::frexp(larger, &largerExponent);
    std::frexp(smaller, &smallerExponent);
    return smaller == 0.0 || largerExponent - smallerExponent > tinyRatioExponent;
}

// atan t for 0 <= t <= 1 (a hair above is fine): t = c + (t - c) with c = j/8 the nearest
// eighth, atan t = atan c + atan u, u = (t - c)/(1 + t·c), |u| <= 1/16.
DoubleDouble arctangentOfUnitRange(DoubleDouble t) {
    const double eighths = nearestInteger(8.0 * t.high);
    const double c = 0.125 * eighths;
    const DoubleDouble numerator = ddAddWithTwoSums(t, {-c, 0.0});
    const DoubleDouble denominator = ddAddWithTwoSums(ddMultiplyByDouble(t, c), {1.0, 0.0});
    const DoubleDouble u = ddDivideTwiceCorrected(numerator, denominator);
    const DoubleDouble series = ddMultiplyWithTwoSum(polynomial(ddMultiplyWithTwoSum(u, u), atanLeading, atanTrailing), u);
    return ddAddWithTwoSums(atanOfEighths[static_cast<int>(eighths)], series);
}

// The angle of (x, y) for x, y >= 0 finite, not both zero, in [0, pi/2].
DoubleDouble firstQuadrantAngle(double x, double y) {
    const bool steep = y > x;
    const double larger = steep ? y : x;
    const double smaller = steep ? x : y;
    int largerExponent = 0;
    std::frexp(larger, &largerExponent);
    // Both scaled by the same power of two into the range of exact products.
    const DoubleDouble quotient =
        ddDivideTwiceCorrected({scaledByPowerOfTwo(smaller, -largerExponent), 0.0}, {scaledByPowerOfTwo(larger, -largerExponent), 0.0});
    DoubleDouble angle{0.0, 0.0};
    if (ratioIsTiny(larger, smaller)) {
        // atan q = q(1 - q²/3 + ...) is q to far below q's low part. The high part is the
        // quotient rounded once (also where it underflows, and the scaled smaller part may
        // have lost bits); the low part is the scaled quotient's where their highs agree.
        const double rounded = smaller / larger;
        angle = {rounded, quotient.high == rounded ? quotient.low : 0.0};
    } else {
        angle = arctangentOfUnitRange(quotient);
    }
    return steep ? ddAddWithTwoSums(halfPi, negated(angle)) : angle;
}

// --- fast atan2 ---

// The angle of (x, y) for x, y in [2^-500, 2^500] (so that every product below is exact
// as a two-product), when the fast path decides its rounding. With q = min/max = q1 + q2
// (one correction step), c = j/64 the nearest sixty-fourth to q1,
// u = (q - c)/(1 + q·c) = u1 + u2 (q1 - c and q1·c exact, one correction step),
// |u| <= 1/128: atan q = atan c + u1 + u2 + u1·s·P(s), s = u1², P the series of
// (atan(u)/u - 1)/s to s^4 by Horner in double. Then pi/2 - angle for |y| > |x|, and
// pi minus that for x < 0 or x = -0, summed with two-sums.
// Relative to atan q (>= 0.99|u|, also when j = 0): the tail is at most s/3 <= 2^-15.6 of
// |u| with relative error at most 8·2^-53, so 2^-65.5; truncation |u|·s^5/11 <= 2^-73.5
// |u|; the quotients and low-part roundings about 2^-100. The reflections only add to the
// magnitude (pi/2 - angle >= pi/4 >= angle). Sum below 2^-65.4; the test uses 2^-63.
constexpr double fastArctangentBound = 0x1p-63;
constexpr double fastArctangentSmallest = 0x1p-500;
constexpr double fastArctangentLargest = 0x1p500;
constexpr double fastArctangentSmallestRatio = 0x1p-60;  // below it the accurate path takes the quotient
constexpr int fastArctangentTerms = 5;

// atan(smaller/larger) = highs.high + low, unnormalised (low includes highs.low).
struct FastArctangent {
    DoubleDouble highs;
    double low;
};

// The part of the fast arctangent after the quotient q = q1 + q2.
FastArctangent fastArctangentOfQuotient(double q1, double q2) {
    const double sixtyFourths = nearestInteger(64.0 * q1);
    const double c = sixtyFourths * 0x1p-6;
    const DoubleDouble numerator = twoSum(q1 - c, q2);  // q1 - c is exact
    const DoubleDouble qc = twoProduct(q1, c);
    DoubleDouble denominator = twoSum(1.0, qc.high);
    denominator.low += qc.low + q2 * c;
    const double u1 = numerator.high / denominator.high;
    const DoubleDouble uBack = twoProduct(u1, denominator.high);
    const double u2 =
        ((((numerator.high - uBack.high) - uBack.low) + numerator.low) - u1 * denominator.low) / denominator.high;
    const double s = u1 * u1;
    double series = atanLeading[fastArctangentTerms].high;
    for (int i = fastArctangentTerms - 1; i >= 1; --i) series = series * s + atanLeading[i].high;
    const double tail = (u1 * s) * series;

    const DoubleDouble atanC = atanOfSixtyFourths[static_cast<int>(sixtyFourths)];
    const DoubleDouble angleHighs = twoSum(atanC.high, u1);
    return {angleHighs, ((angleHighs.low + atanC.low) + u2) + tail};
}

FastArctangent fastArctangentOfRatio(double smaller, double larger) {
    const double q1 = smaller / larger;
    const DoubleDouble back = twoProduct(q1, larger);
    const double q2 = ((smaller - back.high) - back.low) / larger;  // smaller - back.high is exact
    return fastArctangentOfQuotient(q1, q2);
}

// The same for a ratio of double-doubles (the quotient's remainder takes the low parts in
// too, with rounding errors near 2^-105 of q, far inside the bound's slack).
FastArctangent fastArctangentOfRatio(DoubleDouble smaller, DoubleDouble larger) {
    const double q1 = smaller.high / larger.high;
    const DoubleDouble back = twoProduct(q1, larger.high);
    const double q2 = ((((smaller.high - back.high) - back.low) + smaller.low) - q1 * larger.low) / larger.high;
    return fastArctangentOfQuotient(q1, q2);
}

// base + sign·angle, the angle of (x, y) from the arctangent of the smaller part over the
// larger: 0 + angle, pi/2 - angle, pi - angle, or pi - (pi/2 - angle) = pi/2 + angle; its
// rounding into result when the fast bound decides it.
bool decidedAngle(const FastArctangent& angle, bool steep, bool leftHalf, double& result) {
    const DoubleDouble base = leftHalf ? (steep ? halfPi : tables::pi) : (steep ? halfPi : DoubleDouble{0.0, 0.0});
    const double sign = steep != leftHalf ? -1.0 : 1.0;
    const DoubleDouble highs = twoSum(base.high, sign * angle.highs.high);
    const DoubleDouble value = twoSum(highs.high, (highs.low + base.low) + sign * angle.low);
    if (!roundingDecided(value, fastArctangentBound)) return false;
    result = value.high;
    return true;
}

bool fastAngle(double x, double y, bool leftHalf, double& result) {
    const bool steep = y > x;
    const double larger = steep ? y : x;
    const double smaller = steep ? x : y;
    if (smaller < larger * fastArctangentSmallestRatio) return false;
    return decidedAngle(fastArctangentOfRatio(smaller, larger), steep, leftHalf, result);
}

// The angle of (x, y) for double-doubles x, y in the fast range, as fastAngle.
bool fastAngle(DoubleDouble x, DoubleDouble y, bool leftHalf, double& result) {
    const bool steep = y.high > x.high;
    const DoubleDouble larger = steep ? y : x;
    const DoubleDouble smaller = steep ? x : y;
    if (smaller.high < larger.high * fastArctangentSmallestRatio) return false;
    return decidedAngle(fastArctangentOfRatio(smaller, larger), steep, leftHalf, result);
}

// Below this magnitude atan x and asin x round to x, and acos x to pi/2 - x rounded.
constexpr double identityBound = 0x1p-27;

// atan(num/den) in [0, pi/2] for num, den >= 0, not both zero, each between 2^-62 and 2^62
// or zero.
DoubleDouble arctangentOfQuotient(DoubleDouble num, DoubleDouble den) {
    if (num.high <= den.high) return arctangentOfUnitRange(ddDivide(num, den));
    return ddSubtract(halfPi, arctangentOfUnitRange(ddDivide(den, num)));
}

// sqrt((1 - a)(1 + a)) for 0 <= a <= 1, the cosine of the arcsine of a.
DoubleDouble cosineOfArcsine(double a) {
    return ddSquareRoot(ddMultiply(twoSum(1.0, -a), twoSum(1.0, a)));
}

}  // namespace

namespace accurate {

double atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const double ay = std::fabs(y);
    const double ax = std::fabs(x);
    const bool leftHalf = std::signbit(x);  // x < 0, or x = -0
    double magnitude = 0.0;
    if (std::isinf(ay)) {
        magnitude = std::isinf(ax) ? (leftHalf ? threeQuartersPi : quarterPi) : halfPi.high;
    } else if (std::isinf(ax) || ay == 0.0) {
        magnitude = leftHalf ? tables::pi.high : 0.0;
    } else if (ax == 0.0) {
        magnitude = halfPi.high;
    } else {
        const DoubleDouble angle = firstQuadrantAngle(ax, ay);
        const DoubleDouble result = leftHalf ? ddAddWithTwoSums(tables::pi, negated(angle)) : angle;
        const bool roundedQuotient = !leftHalf && ay <= ax && ratioIsTiny(ax, ay);  // the angle is q rounded
        if (roundedQuotient ? std::fabs(result.high) >= std::numeric_limits<double>::min()
                            : accurateRoundingDecided(result, accurateBound)) {
            magnitude = result.high;
        } else {
            magnitude = roundedByBalls([ax, ay, x](int bits) { return real::atan2(Ball(ay, bits), Ball(std::copysign(ax, x), bits)); });
        }
    }
    return std::copysign(magnitude, y);
}

}  // namespace accurate

double atan2(double y, double x) {
    const double ay = std::fabs(y);
    const double ax = std::fabs(x);
    const bool ordinary = ax >= fastArctangentSmallest && ax <= fastArctangentLargest &&
                          ay >= fastArctangentSmallest && ay <= fastArctangentLargest;  // false for NaN
    double magnitude = 0.0;
    if (ordinary && fastAngle(ax, ay, std::signbit(x), magnitude)) return std::copysign(magnitude, y);
    return accurate::atan2(y, x);
}

namespace accurate {

// Beyond 2^60 atan x = pi/2 - 1/x to within 2^-180·x^-3 (and 1/x rounded, 2^-113 of pi/2).
double atan(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax < identityBound) return x;  // ±0 and subnormals included
    const DoubleDouble angle =
        ax > 0x1p+60 ? ddSubtract(halfPi, {1.0 / ax, 0.0}) : arctangentOfQuotient({ax, 0.0}, {1.0, 0.0});
    if (accurateRoundingDecided(angle, accurateBound)) return std::copysign(angle.high, x);
    return std::copysign(roundedByBalls([ax](int bits) { return real::atan(Ball(ax, bits)); }), x);
}

double asin(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax > 1.0) return defaultNaN;
    if (ax < identityBound) return x;  // ±0 and subnormals included
    if (ax == 1.0) return std::copysign(halfPi.high, x);
    const DoubleDouble angle = arctangentOfQuotient({ax, 0.0}, cosineOfArcsine(ax));
    if (accurateRoundingDecided(angle, accurateBound)) return std::copysign(angle.high, x);
    return std::copysign(roundedByBalls([ax](int bits) { return real::asin(Ball(ax, bits)); }), x);
}

// Below 2^-27, acos x = pi/2 - x - x³/6 to within x^5/13 (below 2^-135).
double acos(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax > 1.0) return defaultNaN;
    if (x == 1.0) return +0.0;
    DoubleDouble angle{0.0, 0.0};
    if (ax < identityBound) {
        angle = ddSubtract(halfPi, twoSum(x, x * x * x / 6.0));
    } else {
        const DoubleDouble first = arctangentOfQuotient(cosineOfArcsine(ax), {ax, 0.0});
        angle = std::signbit(x) ? ddSubtract(tables::pi, first) : first;
    }
    if (accurateRoundingDecided(angle, accurateBound)) return angle.high;
    return roundedByBalls([x](int bits) { return real::acos(Ball(x, bits)); });
}

}  // namespace accurate

// The fast path for the angle of (1, |x|); NaN, the identity range and |x| > 2^60 go to the
// accurate path as they are.
double atan(double x) {
    const double ax = std::fabs(x);
    double fast = 0.0;
    if (ax >= identityBound && ax <= 0x1p+60 && fastAngle(1.0, ax, false, fast)) return std::copysign(fast, x);
    return accurate::atan(x);
}

// The fast path for the angle of (root, |x|).
double asin(double x) {
    const double ax = std::fabs(x);
    double fast = 0.0;
    if (ax >= identityBound && ax <= 1.0 && fastAngle(cosineOfArcsine(ax), DoubleDouble{ax, 0.0}, false, fast))
        return std::copysign(fast, x);
    return accurate::asin(x);
}

// The fast path for the angle of (x, root).
double acos(double x) {
    const double ax = std::fabs(x);
    double fast = 0.0;
    if (ax >= identityBound && ax <= 1.0 && fastAngle(DoubleDouble{ax, 0.0}, cosineOfArcsine(ax), std::signbit(x), fast))
        return fast;
    return accurate::acos(x);
}

namespace wide {

DoubleDouble atan2(double y, double x) {
    const DoubleDouble first = firstQuadrantAngle(std::fabs(x), std::fabs(y));
    const DoubleDouble angle = std::signbit(x) ? ddAddWithTwoSums(tables::pi, negated(first)) : first;
    return std::signbit(y) ? negated(angle) : angle;
}

// Both scaled by the same power of two, larger into [1/2, 1), so every product of the
// kernel is exact.
DoubleDouble fastAtan(double smaller, double larger) {
    if (smaller == 0.0) return {0.0, 0.0};
    int exponent = 0;
    std::frexp(larger, &exponent);
    const auto [highs, low] = fastArctangentOfRatio(scaledByPowerOfTwo(smaller, -exponent), scaledByPowerOfTwo(larger, -exponent));
    return twoSum(highs.high, low);
}

}  // namespace wide

}  // namespace kx::real
