// Portable real atan2, atan, asin and acos, from IEEE basic operations and double-double
// arithmetic only, each rounded once at the end.
//
// atan2: the angle of (|x|, |y|) is atan(q) or pi/2 - atan(q) with q = min/max <= 1 (a
//   double-double quotient of the parts scaled alike), reflected to pi - angle for x < 0
//   (or x = -0), signed by y. atan q = atan(j/8) + atan u, u = (q - j/8)/(1 + q·j/8),
//   |u| <= 1/16, by its series (14 terms); atan(j/8) from a table. Before the final
//   rounding the double-double result is within about 2^-49 ulp of the exact value, as
//   measured against mpmath on random samples, so the result is correctly rounded unless
//   the exact value lies within about 2^-40 ulp of a halfway point between two doubles.
//   Fast path (fast_path_rounding.h): a reduction by sixty-fourths and a short series in
//   plain doubles, whose bound is derived at fastArctangentOfRatio.
//
// atan, asin and acos reduce to the arctangent of a quotient num/den of non-negative
//   double-doubles: when num > den, atan(num/den) = pi/2 - atan(den/num), so the kernel
//   (atan2's, arctangentOfUnitRange) sees t in [0, 1]; asin x = atan(x/sqrt((1-x)(1+x)))
//   and acos x = atan(sqrt((1-x)(1+x))/x), the root formed in double-double. Everything
//   is kept in double-double and rounded once. Relative error of the double-double result
//   below about 2^-72 (the quotient and the root; the kernel is more accurate), so the
//   result is correctly rounded unless the exact value lies within about 2^-19 ulp of a
//   rounding boundary. In front of that, the fast path of atan2 takes the angle of (1, x),
//   (root, x) or (x, root), the root's low part carried into its quotient; where it decides
//   the rounding, the result is the correctly rounded one, which the path behind it (within
//   2^-72, far inside the test's margin) gives too.
//
// The constants pi, pi/2, atan(j/8), atan(j/64) and the series coefficients:
// tools/generate_real_tables.py.
#include "real/inverse_circular.h"

#include <cmath>
#include <cstddef>

#include "core/complex.h"
#include "core/power_of_two.h"
#include "core/double_double.h"
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
    int smallerExponent = 0;
    std::frexp(larger, &largerExponent);
    std::frexp(smaller, &smallerExponent);
    DoubleDouble angle{0.0, 0.0};
    if (smaller == 0.0 || largerExponent - smallerExponent > tinyRatioExponent) {
        angle = {smaller / larger, 0.0};  // atan q rounds to q; the quotient may underflow
    } else {  // both scaled by the same power of two into the range of exact products
        const DoubleDouble quotient =
            ddDivideTwiceCorrected({scaledByPowerOfTwo(smaller, -largerExponent), 0.0}, {scaledByPowerOfTwo(larger, -largerExponent), 0.0});
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
    const DoubleDouble base = leftHalf ? (steep ? halfPi : pi) : (steep ? halfPi : DoubleDouble{0.0, 0.0});
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
        magnitude = leftHalf ? pi.high : 0.0;
    } else if (ax == 0.0) {
        magnitude = halfPi.high;
    } else {
        const DoubleDouble angle = firstQuadrantAngle(ax, ay);
        const DoubleDouble result = leftHalf ? ddAddWithTwoSums(pi, negated(angle)) : angle;
        magnitude = result.high + result.low;
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

double atan(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax < identityBound) return x;  // ±0 and subnormals included
    if (ax > 0x1p+60) return std::copysign(rounded(ddSubtract(halfPi, {1.0 / ax, 0.0})), x);
    return std::copysign(rounded(arctangentOfQuotient({ax, 0.0}, {1.0, 0.0})), x);
}

double asin(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax > 1.0) return defaultNaN;
    if (ax < identityBound) return x;  // ±0 and subnormals included
    return std::copysign(rounded(arctangentOfQuotient({ax, 0.0}, cosineOfArcsine(ax))), x);
}

double acos(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax > 1.0) return defaultNaN;
    if (ax < identityBound) return rounded(ddSubtract(halfPi, {x, 0.0}));
    const DoubleDouble angle = arctangentOfQuotient(cosineOfArcsine(ax), {ax, 0.0});
    return rounded(std::signbit(x) ? ddSubtract(pi, angle) : angle);
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
    const DoubleDouble angle = std::signbit(x) ? ddAddWithTwoSums(pi, negated(first)) : first;
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
