// Portable real exp, computed in double-double arithmetic and rounded once at the end.
//
// t = n·ln2 + r with ln 2 in three parts, e^r by its Taylor series (22 terms,
// |r| <= 0.347), scaled by 2^n; a subnormal result is rounded once, by forming
// 1 + e^r·2^(n+1022) in double-double and rounding that on the grid of 2^-52.
// Coefficients and the parts of ln 2: tools/generate_real_tables.py.
//
// Accuracy: before the final rounding the double-double result is within about 2^-49 ulp
// of the exact value; it is rounded where the test against accurateBound decides, else
// the exponential is evaluated on balls (fast_path_rounding.h): exp is correctly rounded.
//
// Fast path (fast_path_rounding.h): a reduction by sixty-fourths of ln 2 and a short
// polynomial in plain doubles, whose bound is derived at fastExponential.
#include "real/exp.h"

#include <cmath>

#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/ball_functions.h"
#include "real/double_bits.h"
#include "real/exp_kernels.h"
#include "real/fast_path_rounding.h"
#include "real/series.h"
#include "real/tables.h"

namespace kx::real {

using namespace tables;

namespace {

// value·2^exponent for exponent in [-1021, 2046], exact unless it overflows (value
// positive below 2^2, at least 2^-1 when exponent is -1021, so the result stays normal).
double timesPowerOfTwo(double value, int exponent) {
    if (exponent > 1023) {
        value *= 0x1p1023;
        exponent -= 1023;
    }
    return value * powerOfTwo(exponent);
}

constexpr int fastExponentialPolynomialTop = 7;

}  // namespace

// e^t = value·2^exponent, value in about [0.7, 1.42], for |t.high| <= 746.
ScaledDoubleDouble exponential(DoubleDouble t) {
    const double n = nearestInteger(t.high * inverseLnTwo);
    // t.high - n·lnTwoPart[0] is exact: the product is exact and within a factor 2 of
    // t.high, or their difference is a multiple of the smaller ulp below 0.36.
    DoubleDouble r = twoSum(t.high - n * lnTwoPart[0], t.low);
    r = ddAddWithTwoSums(r, negated(twoProduct(n, lnTwoPart[1])));
    r = ddAddWithTwoSums(r, {-(n * lnTwoPart[2]), 0.0});
    return {polynomial(r, exponentialLeading, exponentialTrailing), static_cast<int>(n)};
}

// value·2^exponent rounded once to double, value positive in about [0.7, 1.42].
double roundScaled(DoubleDouble value, int exponent) {
    if (exponent > smallestNormalExponent) return scaledByPowerOfTwo(value.high + value.low, exponent);  // normal or overflow
    // z = value·2^(exponent+1022) is exact; if z < 1 the result is subnormal: 1 + z rounded
    // to double is rounded on the grid 2^-52, which 2^-1022 scales to the subnormal grid.
    const int shift = exponent - smallestNormalExponent;
    const DoubleDouble z = ddTimesPowerOfTwo(value, shift);
    if (z.high >= 1.0) return scaledByPowerOfTwo(z.high + z.low, smallestNormalExponent);
    const DoubleDouble onePlusZ = twoSum(1.0, z.high);
    const double rounded = onePlusZ.high + (onePlusZ.low + z.low);
    return scaledByPowerOfTwo(rounded - 1.0, smallestNormalExponent);  // rounded - 1 is exact
}

// The rounding of value·2^exponent into result, value positive in about [0.7, 1.42] within
// relativeBound of the true value, when the bound decides it: where the result is normal,
// the rounding of value (scaled exactly, or overflowing exactly when it rounds to 2^1024 or
// beyond); on the subnormal grid, the rounding of 1 + z, z = value·2^(exponent+1022) < 1
// (the grid of 2^-52 there is the subnormal grid scaled), whose relative bound covers z's.
bool decidedScaledRounding(DoubleDouble value, int exponent, double relativeBound, double& result) {
    if (exponent > smallestNormalExponent) {
        if (!roundingDecided(value, relativeBound)) return false;
        result = timesPowerOfTwo(value.high, exponent);
        return true;
    }
    const DoubleDouble z = ddTimesPowerOfTwo(value, exponent - smallestNormalExponent);  // exact
    if (z.high >= 1.0) {
        if (!roundingDecided(z, relativeBound)) return false;
        result = scaledByPowerOfTwo(z.high, smallestNormalExponent);
        return true;
    }
    const DoubleDouble onePlusZ = twoSum(1.0, z.high);
    const DoubleDouble sum = fastTwoSum(onePlusZ.high, onePlusZ.low + z.low);
    if (!roundingDecided(sum, relativeBound)) return false;
    result = scaledByPowerOfTwo(sum.high - 1.0, smallestNormalExponent);  // sum.high - 1 is exact
    return true;
}

// e^t for |t.high| <= 745, t.low <= ulp(t.high)/2: t = (64q + j)·ln2/64 + r with
// |r| <= ln2/128 (a hair more), e^t = 2^q · 2^(j/64) · e^r, e^r = 1 + r + r²·P(r) with
// P = sum_{n=2..7} r^(n-2)/n! by Horner in double on r.high.
// The reduction: k·part[0] and k·part[1] are exact (36-bit parts, |k| < 2^17) and the two
// differences are two-sums, so r is exact but for the rounding of its low part (terms
// below 2^-44, three roundings: 2^-95) and ln 2/64 beyond its parts (|k|·2^-138).
// e^r, relative to e^r >= 0.994: truncation r^8/8! <= 1.9e-23 (2^-75.4); r²·P from
// r.high, rounded coefficients and Horner, relative error at most 6·2^-53 on
// |r²·P| <= 1.48e-5, so 2^-66.6; the two roundings adding it into the low part, 2^-69
// each. The product with 2^(j/64) (relative error 2^-106): the cross terms and their sum
// rounded, 2^-68 each, the neglected low·low 2^-69. Sum below 2^-65.3 of the result;
// the rounding test uses 2^-63.
ScaledDoubleDouble fastExponential(DoubleDouble t) {
    const double k = nearestInteger(t.high * sixtyFourOverLnTwo);
    const DoubleDouble first = twoSum(t.high, -(k * lnTwoSixtyFourthPart[0]));
    const DoubleDouble second = twoSum(first.high, -(k * lnTwoSixtyFourthPart[1]));
    const DoubleDouble r =
        twoSum(second.high, ((first.low + second.low) + t.low) - k * lnTwoSixtyFourthPart[2]);
    double tail = exponentialLeading[fastExponentialPolynomialTop].high;
    for (int n = fastExponentialPolynomialTop - 1; n >= 2; --n) tail = tail * r.high + exponentialLeading[n].high;
    const DoubleDouble onePlusR = twoSum(1.0, r.high);
    const DoubleDouble expR{onePlusR.high, onePlusR.low + (r.low + (r.high * r.high) * tail)};
    const auto index = static_cast<int>(k);
    const int sixtyFourths = index & 63;
    return {ddMultiplyWithTwoSum(twoToSixtyFourths[sixtyFourths], expR), (index - sixtyFourths) / 64};
}

// e^t rounded, when the fast path decides it within relativeBound (which must cover the
// error of t too) and the result is normal or overflows.
bool fastRoundedExponential(DoubleDouble t, double relativeBound, double& result) {
    const ScaledDoubleDouble scaled = fastExponential(t);
    if (scaled.exponent < smallestNormalExponent + 1 || !roundingDecided(scaled.value, relativeBound)) return false;
    result = timesPowerOfTwo(scaled.value.high, scaled.exponent);
    return true;
}

double exp(double x) {
    double result = 0.0;
    if (std::fabs(x) <= fastExponentLimit && fastRoundedExponential({x, 0.0}, fastExponentialBound, result))
        return result;
    return accurate::exp(x);
}

ScaledDoubleDouble exponentialParts(double t) { return fastExponential({t, 0.0}); }

namespace accurate {
ScaledDoubleDouble exponentialParts(double t) { return exponential({t, 0.0}); }
}  // namespace accurate

namespace accurate {

// The double-double result rounded where its test decides, else on balls. e^x is
// transcendental for x != 0.
double exp(double x) {
    if (std::isnan(x)) return x;
    if (x > exponentArgumentLimit) return infinity;
    if (x < -exponentArgumentLimit) return +0.0;
    if (x == 0.0) return 1.0;
    const ScaledDoubleDouble result = exponential({x, 0.0});
    double rounded = 0.0;
    if (decidedScaledRounding(result.value, result.exponent, accurateBound, rounded)) return rounded;
    return roundedByBalls([x](int bits) { return real::exp(Ball(x, bits)); });
}

}  // namespace accurate

namespace wide {

// t = k·ln2 + r with ln 2 in three parts (k·ln2 to about 2^-100 for |k| <= 2700), then e^r by
// the reduction and series of exp (its own k is -1, 0 or 1).
ScaledDoubleDouble exp(DoubleDouble t) {
    if (t.high == 0.0) return {{1.0, 0.0}, 0};  // what the series gives, without evaluating it
    const double k = nearestInteger(t.high * inverseLnTwo);
    const DoubleDouble kLnTwo = ddAddWithTwoSums(ddAddWithTwoSums(twoProduct(k, lnTwoPart[0]), twoProduct(k, lnTwoPart[1])), {k * lnTwoPart[2], 0.0});
    const ScaledDoubleDouble reduced = exponential(ddAddWithTwoSums(t, negated(kLnTwo)));
    return {reduced.value, reduced.exponent + static_cast<int>(k)};
}

double roundTimesPowerOfTwo(DoubleDouble value, int exponent) {
    if (value.high == 0.0 || !std::isfinite(value.high)) return value.high;
    const double magnitudeOfHigh = std::fabs(value.high);
    const int highExponent = static_cast<int>(std::bit_cast<std::uint64_t>(magnitudeOfHigh) >> 52) - 1023;
    if (magnitudeOfHigh >= std::numeric_limits<double>::min() && exponent >= smallestNormalExponent &&
        exponent <= 1023 && highExponent + exponent >= smallestNormalExponent + 1)
        return (value.high + value.low) * powerOfTwo(exponent);  // rounded, then scaled exactly (or overflowing)
    int valueExponent = 0;
    const double fraction = std::frexp(value.high, &valueExponent);  // exact
    const double magnitudeHigh = std::fabs(fraction);
    const double magnitudeLow = std::copysign(1.0, fraction) * scaledByPowerOfTwo(value.low, -valueExponent);
    const int total = exponent + valueExponent;  // value·2^exponent = fraction·2^total
    if (total > 1100) return std::copysign(infinity, value.high);
    constexpr int belowEverySubnormal = -1130;
    double magnitude = 0.0;
    if (total >= smallestNormalExponent + 1) {  // normal or overflowing: round, then scale exactly
        magnitude = scaledByPowerOfTwo(magnitudeHigh + magnitudeLow, total);
    } else if (total > belowEverySubnormal) {
        magnitude = roundScaled({magnitudeHigh, magnitudeLow}, total);
    }
    return std::copysign(magnitude, value.high);
}

ScaledDoubleDouble fastExp(DoubleDouble t) { return fastExponential(t); }

}  // namespace wide

}  // namespace kx::real
