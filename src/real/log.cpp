// Portable real log and log1p, computed in double-double arithmetic and rounded once at the
// end, and the logarithm of a double-double.
//
// log: x = m·2^k with m in [sqrt(1/2), sqrt(2)), ln m = 2·atanh(f), f = (m - 1)/(m + 1),
//   |f| <= 0.1716, by the series of atanh(f)/f in f² (22 terms), plus k·ln2 with ln 2 in
//   three parts. log1p(u) for 1 + u in [0.71, 1.41] is 2·atanh(u/(2 + u)) (u exact),
//   elsewhere ln of 1 + u rounded plus the rounding error's share, low/high - (low/high)²/2.
//   Coefficients and the parts of ln 2: tools/generate_real_tables.py.
//
// Accuracy: before the final rounding the double-double result is within about 2^-49 ulp
// of the exact value, as measured against mpmath on random samples. It is rounded where the
// test against accurateBound decides, else the logarithm is evaluated on balls
// (fast_path_rounding.h): log, log1p and roundedLog are correctly rounded. The logarithm of
// a double or a double-double other than 1 is transcendental, never a double or a halfway
// point.
//
// Fast path (fast_path_rounding.h): a reduction by sixty-fourths and a short atanh
// polynomial in plain doubles, whose bound is derived at fastLogarithm.
//
// roundedLog, ln of a double-double rounded once, for callers that form the argument in
// double-double (asinh, acosh and the complex inverse functions): the fast logarithm where
// its bound decides the rounding, else wide::log1p of u - 1 near 1 and wide::log elsewhere,
// the logarithm of the high part by the accurate path above (relative error about 2^-100)
// plus the low part's share low/high (its square, below 2^-106 of 1, left out).
#include "real/log.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "core/complex.h"
#include "core/power_of_two.h"
#include "core/double_double.h"
#include "real/ball_functions.h"
#include "real/double_bits.h"
#include "real/fast_path_rounding.h"
#include "real/log_kernels.h"
#include "real/series.h"
#include "real/tables.h"

namespace kx::real {

using namespace tables;

namespace {

// log1p: below this |u| the result rounds to u; inside [nearOneLow, nearOneHigh]
// ln(1 + u) = 2·atanh(u/(2 + u)) with |u/(2 + u)| <= 0.1716.
constexpr double tinyLogArgument = 0x1p-54;
constexpr double nearOneLow = -0.29;
constexpr double nearOneHigh = 0.414;
constexpr int fastAtanhTerms = 5;

// 2·atanh(f) = ln((1 + f)/(1 - f)), for |f| <= 0.1716.
DoubleDouble twiceAtanh(DoubleDouble f) {
    const DoubleDouble series = polynomial(ddMultiplyWithTwoSum(f, f), atanhLeading, atanhTrailing);
    return ddMultiplyByDouble(ddMultiplyWithTwoSum(f, series), 2.0);
}

// e·ln2 + ln(c) + 2·atanh(numerator/denominator), c = sixtyFourths/64, for fastLogarithm
// and wide::fastLog1p.
DoubleDouble fastLogarithmOfQuotient(int exponent, double sixtyFourths, DoubleDouble numerator,
                                     DoubleDouble denominator) {
    const double q1 = numerator.high / denominator.high;
    const DoubleDouble product = twoProduct(q1, denominator.high);
    const double remainder = (((numerator.high - product.high) - product.low) + numerator.low) - q1 * denominator.low;
    const double q2 = remainder / denominator.high;
    const double s = q1 * q1;
    double series = atanhLeading[fastAtanhTerms].high;
    for (int i = fastAtanhTerms - 1; i >= 1; --i) series = series * s + atanhLeading[i].high;
    const double tail = ((2.0 * q1) * s) * series;

    const double e = exponent;
    const DoubleDouble logC = logOfSixtyFourths[static_cast<int>(sixtyFourths) - 45];
    const DoubleDouble highs = twoSum(e * lnTwoPart[0], logC.high);
    const DoubleDouble withZ = twoSum(highs.high, 2.0 * q1);
    const double low = ((((highs.low + withZ.low) + e * lnTwoPart[1]) + logC.low) + 2.0 * q2) + tail;
    return twoSum(withZ.high, low);
}

}  // namespace

// ln x for x > 0 finite (normal or subnormal).
DoubleDouble logarithm(double x) {
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // exact, m in [1/2, 1)
    if (m < squareRootOfHalf) {
        m *= 2.0;
        exponent -= 1;
    }
    const DoubleDouble logM = twiceAtanh(ddDivideTwiceCorrected({m - 1.0, 0.0}, twoSum(m, 1.0)));  // m - 1 is exact
    const double k = exponent;  // |k| <= 1075, so k·lnTwoPart[0] is exact
    DoubleDouble kLnTwo = ddAddWithTwoSums({k * lnTwoPart[0], 0.0}, twoProduct(k, lnTwoPart[1]));
    kLnTwo = ddAddWithTwoSums(kLnTwo, {k * lnTwoPart[2], 0.0});
    return ddAddWithTwoSums(kLnTwo, logM);
}

// ln x for x = x.high + x.low > 0 finite, |x.low| <= ulp(x.high)/2: x = m·2^e with m in
// [sqrt(1/2), sqrt(2)] (m.low = x.low·2^-e), c = j/64 the nearest sixty-fourth to m.high,
// ln x = e·ln2 + ln c + 2·atanh(z), z = (m - c)/(m + c), |z| <= (1/128)/1.41 = 0.00558.
// m.high - c is exact (within a factor 2), z = q1 + q2 by one correction step (relative
// error about 2^-100); 2·atanh z = 2z + 2z·s·P(s), s = q1², P = sum_{i=1..5} s^(i-1)/(2i+1)
// by Horner in double. e·ln 2 is e·part[0] (exact, 42 bits by 11) plus e·part[1] rounded
// (2^-86); the parts are summed exactly by two-sums, the low parts in double.
// Relative to ln x: the tail 2z·s·P has relative error at most 8·2^-53 and is at most
// s/3 <= 2^-16.6 of |2z|, and |2z| is at most 1.04 |ln x| (|ln m| >= 0.0077 unless c = 1,
// and |ln x| >= 0.346 for e != 0), so 2^-66.6; truncation 2z·s^5/11 <= 2^-78 of 2z; the
// low parts' roundings below 2^-67; ln c and the quotient 2^-100. Sum below 2^-65.5; the
// rounding test uses 2^-63, and pow carries |y|·2^-65·|ln x| into its exponent.
DoubleDouble fastLogarithm(DoubleDouble x) {
    constexpr std::uint64_t fractionMask = (std::uint64_t{1} << 52) - 1;
    std::uint64_t bits = std::bit_cast<std::uint64_t>(x.high);
    int exponent = 0;
    if (bits < (std::uint64_t{1} << 52)) {  // subnormal: scaled into the normal range first
        bits = std::bit_cast<std::uint64_t>(x.high * 0x1p54);
        exponent = -54;
    }
    exponent += static_cast<int>(bits >> 52) - 1023;
    double m = std::bit_cast<double>((bits & fractionMask) | (std::uint64_t{1023} << 52));  // in [1, 2)
    if (m > squareRootOfTwo) {
        m *= 0.5;
        exponent += 1;
    }
    const double mLow = x.low != 0.0 ? scaledByPowerOfTwo(x.low, -exponent) : 0.0;
    const double sixtyFourths = nearestInteger(64.0 * m);
    const double c = sixtyFourths * 0x1p-6;
    const DoubleDouble numerator = twoSum(m - c, mLow);  // m - c is exact
    DoubleDouble denominator = twoSum(m, c);
    denominator.low += mLow;
    return fastLogarithmOfQuotient(exponent, sixtyFourths, numerator, denominator);
}

namespace {

// The results on balls of ln x, ln(1 + u) and ln(u.high + u.low) (as ln(1 + d) near 1, with
// d = (u.high - 1) + u.low exact).
double logByBalls(double x) {
    return roundedByBalls([x](int bits) { return log(Ball(x, bits)); });
}

double log1pByBalls(double u) {
    return roundedByBalls([u](int bits) { return log1p(Ball(u, bits)); });
}

double logByBalls(DoubleDouble u) {
    if (u.high >= 0.5 && u.high <= 2.0)
        return roundedByBalls([u](int bits) { return log1p(Ball(u.high - 1.0, bits) + Ball(u.low, bits)); });
    return roundedByBalls([u](int bits) { return log(Ball(u.high, bits) + Ball(u.low, bits)); });
}

double roundedOr(DoubleDouble result, double (*byBalls)(double), double argument) {
    return accurateRoundingDecided(result, accurateBound) ? result.high : byBalls(argument);
}

}  // namespace

namespace accurate {

double log(double x) {
    if (std::isnan(x)) return x;
    if (x == 0.0) return -infinity;
    if (x < 0.0) return defaultNaN;
    if (std::isinf(x)) return x;
    if (x == 1.0) return +0.0;
    return roundedOr(logarithm(x), logByBalls, x);
}

double log1p(double u) {
    if (std::isnan(u)) return u;
    if (std::fabs(u) < tinyLogArgument) return u;  // u²/2 is below half an ulp of u; keeps -0
    if (u == -1.0) return -infinity;
    if (u < -1.0) return defaultNaN;
    if (std::isinf(u)) return u;
    if (u >= nearOneLow && u <= nearOneHigh)  // 1 + u in [0.71, 1.41]: u is exact, 1 + u is not
        return roundedOr(twiceAtanh(ddDivideTwiceCorrected({u, 0.0}, twoSum(2.0, u))), log1pByBalls, u);
    // |ln(1 + u)| >= 0.34: ln of the rounded 1 + u, plus ln(1 + low/high) to second order.
    const DoubleDouble onePlusU = twoSum(1.0, u);
    const double ratio = onePlusU.low / onePlusU.high;
    return roundedOr(ddAddWithTwoSums(logarithm(onePlusU.high), {ratio - 0.5 * ratio * ratio, 0.0}), log1pByBalls, u);
}

}  // namespace accurate

double log(double x) {
    if (!(x > 0.0 && x <= largestDouble)) return accurate::log(x);
    const DoubleDouble result = fastLogarithm({x, 0.0});
    return roundingDecided(result, fastLogarithmBound) ? result.high : accurate::log(x);
}

// ln(1 + u) = ln(h + l) with h + l = 1 + u exactly: the error of ln is relative to the
// result whatever u is, since h + l is not rounded.
double log1p(double u) {
    if (!(std::fabs(u) >= tinyLogArgument && u > -1.0 && u <= largestDouble)) return accurate::log1p(u);
    const DoubleDouble result = fastLogarithm(twoSum(1.0, u));
    return roundingDecided(result, fastLogarithmBound) ? result.high : accurate::log1p(u);
}

// Below this the fast logarithm's intermediate quotient nears the subnormal range, where
// its relative bound no longer holds.
constexpr double smallestFastRoundedLog = 0x1p-960;

// In [1/2, 2], ln u is ln(1 + d) with d = u - 1 formed exactly (u.high - 1 is exact and a
// multiple of ulp(u.high), so at least |u.low|), so that the error stays relative to a result
// near zero; wide::log alone is accurate to about 2^-100 of 1 there, not of the result.
namespace accurate {

double roundedLog(DoubleDouble u) {
    if (u.high == 1.0 && u.low == 0.0) return +0.0;
    const DoubleDouble result =
        u.high >= 0.5 && u.high <= 2.0 ? wide::log1p(fastTwoSum(u.high - 1.0, u.low)) : wide::log(u);
    return accurateRoundingDecided(result, accurateBound) ? result.high : logByBalls(u);
}

}  // namespace accurate

double roundedLog(DoubleDouble u) {
    const DoubleDouble fast = fastLogarithm(u);
    if (std::fabs(fast.high) >= smallestFastRoundedLog && roundingDecided(fast, fastLogarithmBound)) return fast.high;
    return accurate::roundedLog(u);
}

namespace wide {

// ln of the high part plus the low part's share, low/high (its square, below 2^-106, is
// left out).
DoubleDouble log(DoubleDouble u) {
    const DoubleDouble logOfHigh = logarithm(u.high);
    return u.low == 0.0 ? logOfHigh : ddAddWithTwoSums(logOfHigh, {u.low / u.high, 0.0});
}

// 1 + d in [0.71, 1.41]: 2·atanh(d/(2 + d)), relative to the result whatever the size of
// d. Elsewhere |ln(1 + d)| >= 0.34 and 1 + d is formed in double-double first.
DoubleDouble log1p(DoubleDouble d) {
    if (d.high >= nearOneLow && d.high <= nearOneHigh) return twiceAtanh(ddDivideTwiceCorrected(d, ddAddWithTwoSums({2.0, 0.0}, d)));
    return log(ddAddWithTwoSums({1.0, 0.0}, d));
}

DoubleDouble fastLog(DoubleDouble u) { return fastLogarithm(u); }

// 1 + d within 2^-7 of 1: ln(1 + d) = 2·atanh(d/(2 + d)), the fast logarithm's quotient with
// c = 1 and d itself as the numerator, so the error is relative to the result however
// small d is. Elsewhere 1 + d as a double-double (its low part's rounding, below 2^-105,
// is under 2^-97 of |ln(1 + d)| >= 2^-7.1) and the fast logarithm of it.
DoubleDouble fastLog1p(DoubleDouble d) {
    constexpr double nearOne = 0x1p-7;
    if (std::fabs(d.high) < nearOne) {
        DoubleDouble denominator = twoSum(2.0, d.high);
        denominator.low += d.low;
        return fastLogarithmOfQuotient(0, 64.0, d, denominator);
    }
    const DoubleDouble onePlusHigh = twoSum(1.0, d.high);
    return fastLogarithm(fastTwoSum(onePlusHigh.high, onePlusHigh.low + d.low));
}

}  // namespace wide

}  // namespace kx::real
