// Portable real pow, computed in double-double arithmetic and rounded once at the end.
//
// The special cases of C99 Annex F as glibc gives them, then e^(y·ln x) with ln x and
// y·ln x as double-doubles (relative error below 2^-100, so the product is good to about
// 2^-90 absolutely where it does not overflow), by the kernels of log.cpp and exp.cpp. An
// integer power of an integer whose exact value fits 63 bits is formed exactly, since it
// may lie exactly halfway between two doubles, where an approximation could round to
// either side.
//
// Accuracy: before the final rounding the double-double result is within 2^-43 ulp of
// the exact value (the error of ln x grows with |y·ln x| up to 745), as measured against
// mpmath on random samples: relative error at most 2^-97 + |y·ln x|·2^-97 (ln x and the
// exponential within about 2^-100 each, the product y·ln x within 2^-103 of itself). The
// result is rounded where the test against twice that bound decides; otherwise, after the
// exact cases below, the power is evaluated on balls, so pow is correctly rounded.
//
// Exact cases: x^y is a double or a halfway point only for y = n/2^k, k <= 5 (0 <= k and
// n odd when k > 0): with x = b^(2^k)·2^j (b odd) and 2^k dividing j·n, x^y = b^n·2^(j·n/2^k),
// and a halfway point has at most 54 significant bits, so b^n < 2^54 (b = 1 for n < 0; b >= 3
// bounds 2^k by 53/log2(3)). Those values are formed exactly and rounded once (ties to even,
// also on the subnormal grid); no other x^y can lie on a rounding boundary.
//
// Fast path (fast_path_rounding.h): the fast logarithm and exponential, the exponential's
// bound widened by the logarithm's error carried into y·ln x.
#include "real/pow.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/complex.h"
#include "core/big_float.h"
#include "core/double_double.h"
#include "real/ball_functions.h"
#include "real/double_bits.h"
#include "real/fast_path_rounding.h"
#include "real/exp_kernels.h"
#include "real/log_kernels.h"

namespace kx::real {
namespace {

// x^y exactly, when x and y are integers (y >= 2) and the power fits 63 bits; x > 0.
bool exactIntegerPower(double x, double y, double& result) {
    if (y < 2.0 || y > 63.0 || !isInteger(y)) return false;
    int exponent = 0;
    std::uint64_t odd = 0;  // x = odd·2^(exponent-53)
    if (x >= std::numeric_limits<double>::min()) {
        const IntegerScaled scaled = integerScaled(x);
        odd = scaled.mantissa;
        exponent = scaled.exponent;
    } else {
        const double fraction = std::frexp(x, &exponent);
        odd = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    }
    const int trailingZeros = std::countr_zero(odd);  // odd is not zero
    odd >>= trailingZeros;
    const int scale = exponent - 53 + trailingZeros;
    const int power = static_cast<int>(y);
    constexpr std::uint64_t limit = std::uint64_t{1} << 63;
    std::uint64_t value = 1;
    for (int step = 0; step < power; ++step) {
        if (value > (limit - 1) / odd) return false;
        value *= odd;
    }
    const int resultExponent = scale * power;
    if (resultExponent < smallestNormalExponent || resultExponent > 1023) return false;
    result = static_cast<double>(static_cast<std::int64_t>(value)) * powerOfTwo(resultExponent);  // one rounding
    return true;
}

// An exact value b·2^scale (b < 2^64) rounded once, or its overflow or underflow.
double roundedExactly(std::uint64_t b, std::int64_t scale) {
    if (scale > 2000 || scale < -2000) return scale > 0 ? infinity : 0.0;
    const std::uint32_t limbs[2] = {static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(b >> 32)};
    Magnitude unused;
    return nearestDouble(normalisedFromLimbs(limbs, 2, static_cast<long>(scale), false, 2, unused));
}

// x^y rounded when it is exact or halfway as above (x > 0 finite, y finite, |y·ln x| below
// about 1500). A power of two 2^j gives 2^(j·y), exact where j·y is an integer (any k).
bool exactPower(double x, double y, double& result) {
    int exponent = 0;
    const double fraction = std::frexp(x, &exponent);  // x = fraction·2^exponent exactly
    auto odd = static_cast<std::uint64_t>(scaledByPowerOfTwo(fraction, 53));
    const std::int64_t twos = exponent - 53 + std::countr_zero(odd);
    odd >>= std::countr_zero(odd);
    if (odd == 1) {
        const DoubleDouble power = twoProduct(static_cast<double>(twos), y);  // exact: |y| < 2200 here
        if (power.low != 0.0 || !isInteger(power.high) || std::fabs(power.high) > 0x1p30) return false;
        result = roundedExactly(1, static_cast<std::int64_t>(power.high));
        return true;
    }
    int k = 0;
    while (k <= 5 && !isInteger(scaledByPowerOfTwo(y, k))) ++k;
    const double scaledExponent = scaledByPowerOfTwo(y, k);
    if (k > 5 || scaledExponent < 0.0 || scaledExponent > 64.0) return false;  // b^n < 2^54 and b >= 3
    const auto n = static_cast<std::int64_t>(scaledExponent);
    for (int root = 0; root < k; ++root) {  // b = odd^(1/2^k), when it is an integer
        const auto candidate = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(odd)) + 0.5);
        if (candidate * candidate != odd) return false;
        odd = candidate;
    }
    const std::int64_t denominator = std::int64_t{1} << k;
    if ((twos * n) % denominator != 0) return false;
    std::uint64_t value = 1;
    for (std::int64_t step = 0; step < n; ++step) {
        if (value > (std::uint64_t{1} << 54) / odd) return false;  // more bits than a halfway point has
        value *= odd;
    }
    result = roundedExactly(value, twos * n / denominator);
    return true;
}

}  // namespace

namespace accurate {

double pow(double x, double y) {
    if (y == 0.0) return 1.0;
    if (x == 1.0) return 1.0;
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const bool oddExponent = isOddInteger(y);
    if (std::isinf(y)) {
        const double magnitude = std::fabs(x);
        if (magnitude == 1.0) return 1.0;  // (-1)^±inf
        return (magnitude > 1.0) == (y > 0.0) ? infinity : +0.0;
    }
    if (x == 0.0) {
        if (y < 0.0) return oddExponent ? std::copysign(infinity, x) : infinity;
        return oddExponent ? x : +0.0;
    }
    if (std::isinf(x)) {
        const double magnitude = y < 0.0 ? 0.0 : infinity;
        return x < 0.0 && oddExponent ? -magnitude : magnitude;
    }
    double sign = 1.0;
    if (x < 0.0) {
        if (!isInteger(y)) return defaultNaN;
        if (oddExponent) sign = -1.0;
        x = -x;
    }
    double exact = 0.0;
    if (exactIntegerPower(x, y, exact)) return sign * exact;
    const DoubleDouble logX = logarithm(x);
    const double estimate = y * logX.high;
    if (estimate > 2.0 * exponentArgumentLimit) return sign * infinity;
    if (estimate < -2.0 * exponentArgumentLimit) return sign * 0.0;
    // |y·ln x| <= 1492 with |ln x| >= 2^-54 keeps |y| far below the splitting limit.
    const DoubleDouble t = ddAddWithTwoSums(twoProduct(y, logX.high), {y * logX.low, 0.0});
    if (t.high > exponentArgumentLimit) return sign * infinity;
    if (t.high < -exponentArgumentLimit) return sign * 0.0;
    const ScaledDoubleDouble result = exponential(t);
    const double bound = 2.0 * (0x1p-97 + std::fabs(t.high) * 0x1p-97);
    double rounded = 0.0;
    if (decidedScaledRounding(result.value, result.exponent, bound, rounded)) return sign * rounded;
    if (exactPower(x, y, exact)) return sign * exact;
    return sign * roundedByBalls([x, y](int bits) { return real::pow(Ball(x, bits), Ball(y, bits)); });
}

}  // namespace accurate

// The fast path takes positive finite x other than 1 (and negative x with an integer y),
// finite y other than 0, |y·ln x| <= 745 and results that are not subnormal.
double pow(double x, double y) {
    const bool ordinary = std::fabs(x) <= largestDouble && std::fabs(y) <= largestDouble && x != 0.0 &&
                          y != 0.0 && x != 1.0 && (x > 0.0 || isInteger(y));
    if (!ordinary) return accurate::pow(x, y);
    const double sign = x < 0.0 && isOddInteger(y) ? -1.0 : 1.0;
    const double magnitude = std::fabs(x);
    double result = 0.0;
    if (exactIntegerPower(magnitude, y, result)) return sign * result;
    const DoubleDouble logX = fastLogarithm({magnitude, 0.0});
    if (!(std::fabs(y * logX.high) <= fastExponentLimit)) return accurate::pow(x, y);
    // |y| <= 745·2^53 (|ln x| >= 2^-53 for x != 1), far inside the range of exact products.
    const DoubleDouble t = ddAddWithTwoSums(twoProduct(y, logX.high), {y * logX.low, 0.0});
    const double bound = fastExponentialBound + std::fabs(t.high) * fastLogarithmErrorInPower;
    if (std::fabs(t.high) <= fastExponentLimit && fastRoundedExponential(t, bound, result)) return sign * result;
    return accurate::pow(x, y);
}

}  // namespace kx::real
