// ln|z|, log10|z| and arg z / ln 10 for z = x + iy finite and not zero.
//
// ln|z| = e·ln2 + ln(X² + Y²)/2 with X + iY = z·2^-e, e = 0 unless the larger part is outside
// [2^-450, 2^450] (inside, the squares and the low parts of their Dekker products are normal).
// For X² + Y² in [1/2, 2] it is ln(1 + d)/2 of d = X² + Y² - 1, summed from the five exact
// terms (the squares as Dekker products) by Priest's doubly compensated summation, and the
// remainder after that sum likewise: each sum within two units of rounding of itself, so d
// within 2^-103 of itself, whatever the cancellation, and exactly zero on |z| = 1 (where
// ln|z| is +0). Elsewhere X² + Y² is a double-double sum of the squares (2^-104) and
// |ln(X² + Y²)| >= ln 2. The logarithms are the fast ones of src/real, within 2^-65.5 of the
// result (wide::fastLog1p, wide::fastLog), so ln|z| is within 2^-65.4 of itself, and
// log10|z| = ln|z|·(1/ln 10), the constant and the product within 2^-103, within 2^-65.3.
//
// arg z = sign y·(base ± offset) with base 0, pi/2 or pi and offset = atan(smaller part /
// larger part) by wide::fastAtan (2^-65.4), or the ratio itself (atan t = t to 2^-120 for t
// below 2^-60); |offset| <= base/2 when base is not zero, so the sum keeps the relative error
// of offset. Times 1/ln 10: within 2^-65.3.
//
// A part is taken when every number within twice its bound (2^-64) rounds to the same normal
// double (part_rounding.h); otherwise (one part in several hundred) the same formulas with
// the accurate logarithms and angle (real::wide::log1p, log, atan2, about 2^-100) are tested
// against accuratePartBound, and what that leaves undecided (results below the normal range,
// and about one part in 2^36 of the rest) is the same formula on balls: ln(x² + y²)/2 or
// log1p(x² + y² - 1)/2 (the sum exact or rounded relative to itself at the ball's
// precision), atan2 of the ball parts, divided by ln 10. The parts are transcendental but for the exact cases recognised first:
// ln|z| = 0 on |z| = 1, and log10|z| = k/2 where x² + y² = 10^k exactly (log(100) = 2,
// log(1e22) = 22, log(60+80i) = 2 + 0.4027...i); log10|z| is rational only there, and 0 and
// k/2 are doubles, never halfway points.
#include "complex/logarithm_parts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "core/ball.h"
#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/ball_functions.h"
#include "real/double_bits.h"
#include "real/inverse_circular.h"
#include "real/log.h"
#include "real/tables.h"

namespace kx {
namespace {

constexpr double fastPartBound = 0x1p-64;

// 1/ln 10 and pi/4 as double-doubles (to 2^-107).
constexpr DoubleDouble inverseLnTen = real::tables::log10OfEWide;
constexpr DoubleDouble quarterPi = real::tables::quarterPiWide;

// The parts are scaled by 2^-e when the larger one's exponent e is beyond this.
constexpr int largestUnscaledExponent = 450;
// Below this ratio of the parts, atan of the ratio is the ratio to within 2^-120 of itself.
constexpr double smallRatio = 0x1p-60;

DoubleDouble times(double a, DoubleDouble b) { return ddMultiply({a, 0.0}, b); }

// z·2^-e with e the exponent of the larger part, or e = 0 when that is inside 2^±450.
struct ScaledParts {
    double x, y;
    int e;
};

ScaledParts scaledParts(Complex z) {
    const int e = binaryExponent(std::max(std::fabs(z.re), std::fabs(z.im)));
    if (std::abs(e) <= largestUnscaledExponent) return {z.re, z.im, 0};
    return {scaledByPowerOfTwo(z.re, -e), scaledByPowerOfTwo(z.im, -e), e};
}

// x² + y² - 1 in double-double, relative to itself (see the header).
DoubleDouble sumOfSquaresMinusOne(DoubleDouble xSquared, DoubleDouble ySquared) {
    const std::array terms{xSquared.high, ySquared.high, -1.0, xSquared.low, ySquared.low};
    const double high = accurateSum(terms);
    const double low = accurateSum(std::array{terms[0], terms[1], terms[2], terms[3], terms[4], -high});
    return fastTwoSum(high, low);
}

enum class Precision { fast, accurate };

// Whether |z| = 1 exactly, where ln|z| is +0: x² + y² - 1 summed exactly is zero.
bool unitModulus(Complex z) {
    if (std::fabs(z.re) != 1.0 && std::fabs(z.im) != 1.0) return false;  // x² + y² = 1 needs a part ±1 (and the other 0)
    return z.re == 0.0 || z.im == 0.0;
}

// ln|z| within 2^-65.4 of itself (fast) or about 2^-99 (accurate), for |z| not 1.
DoubleDouble wideLogOfModulus(Complex z, Precision precision) {
    const bool fast = precision == Precision::fast;
    const ScaledParts p = scaledParts(z);
    const DoubleDouble xSquared = twoProduct(p.x, p.x);
    const DoubleDouble ySquared = twoProduct(p.y, p.y);
    const DoubleDouble squares = ddAdd(xSquared, ySquared);
    DoubleDouble twice{0.0, 0.0};
    if (squares.high >= 0.5 && squares.high <= 2.0) {
        const DoubleDouble d = sumOfSquaresMinusOne(xSquared, ySquared);
        if (d.high == 0.0) return {0.0, 0.0};  // a part ±1, the other's square below the range: for the balls
        twice = fast ? real::wide::fastLog1p(d) : real::wide::log1p(d);
    } else {
        twice = fast ? real::wide::fastLog(squares) : real::wide::log(squares);
    }
    const DoubleDouble logOfModulus{0.5 * twice.high, 0.5 * twice.low};
    if (p.e == 0) return logOfModulus;
    return ddAdd(times(static_cast<double>(p.e), real::tables::lnTwo), logOfModulus);
}

// The fast value's rounding when its bound decides it, else the accurate value's, else the
// balls'.
template <class AccurateValue, class BallValue>
double rounded(ScaledDoubleDouble fast, PartPath path, AccurateValue accurate, BallValue onBalls) {
    double result = 0.0;
    if (path == PartPath::fastFirst) {
        if (decidedPart(fast.value, fast.exponent, fastPartBound, result)) return result;
        const ScaledDoubleDouble value = accurate();
        if (decidedPart(value.value, value.exponent, accuratePartBound, result)) return result;
    }
    return roundedByBalls(onBalls);
}

// 10^k for k <= 22, exact doubles.
constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int largestExactPowerOfTen = 22;

// Whether x² + y² = 10^k exactly, for 0 <= k <= 44 (10^k then a Dekker product of two exact
// powers, and x, y below 10^22, so their squares exact too): the sum of the six terms is
// zero exactly when that is its rounding.
bool sumOfSquaresIsPowerOfTen(Complex z, int k) {
    const DoubleDouble power = k <= largestExactPowerOfTen
                                   ? DoubleDouble{exactPowersOfTen[k], 0.0}
                                   : twoProduct(exactPowersOfTen[largestExactPowerOfTen], exactPowersOfTen[k - largestExactPowerOfTen]);
    const DoubleDouble xSquared = twoProduct(z.re, z.re);
    const DoubleDouble ySquared = twoProduct(z.im, z.im);
    return accurateSum(std::array{xSquared.high, ySquared.high, -power.high, xSquared.low, ySquared.low, -power.low}) == 0.0;
}

// k/2 when log10|z| (approximately decimal) is k/2 exactly.
bool exactDecimalLog(Complex z, DoubleDouble decimal, double& result) {
    const double twice = 2.0 * decimal.high;
    const double k = real::nearestInteger(twice);
    if (!(k >= 0.0 && k <= 2 * largestExactPowerOfTen && std::fabs(twice - k) < 0x1p-40)) return false;
    if (!sumOfSquaresIsPowerOfTen(z, static_cast<int>(k))) return false;
    result = 0.5 * k;
    return true;
}

// |arg z| = base ± offset·2^exponent as a scaled double-double (offset alone when base is 0).
// When the offset is the ratio of the parts (below 2^-60), the angle is within 2^-103 of
// itself, as the accurate path needs.
struct AngleMagnitude {
    ScaledDoubleDouble value;
    bool accurate;
};

AngleMagnitude fastMagnitudeOfAngle(Complex z) {
    const double ax = std::fabs(z.re), ay = std::fabs(z.im);
    const bool nearReal = ay <= ax;
    const double smaller = nearReal ? ay : ax, larger = nearReal ? ax : ay;
    // |arg z| = offset (x > 0), pi - offset (x < 0), pi/2 -+ offset (|y| > |x|, x >= 0 or x < 0)
    ScaledDoubleDouble offset{{0.0, 0.0}, 0};
    const bool ratio = smaller != 0.0 && smaller < larger * smallRatio;
    if (ratio) {
        const int largerExponent = binaryExponent(larger), smallerExponent = binaryExponent(smaller);
        offset = {ddDivide({scaledByPowerOfTwo(smaller, -smallerExponent), 0.0}, {scaledByPowerOfTwo(larger, -largerExponent), 0.0}),
                  smallerExponent - largerExponent};
    } else {
        offset = {real::wide::fastAtan(smaller, larger), 0};
    }
    if (nearReal && z.re > 0.0) return {offset, ratio};
    const DoubleDouble base = nearReal ? real::tables::pi : real::tables::halfPi;
    const DoubleDouble unscaledOffset = ddTimesPowerOfTwo(offset.value, offset.exponent);  // negligible if it underflows
    const bool subtract = nearReal || z.re > 0.0;
    return {{subtract ? ddSubtract(base, unscaledOffset) : ddAdd(base, unscaledOffset), 0}, ratio};
}

}  // namespace

// ln|z| on balls: log(X² + Y²)/2 + e·ln 2, or near |z| = 1 log1p(d)/2 with
// d = (X - 1)(X + 1) + Y², X the larger part: X - 1, X + 1 and both products are exact, so d
// is rounded once, relative to itself.
Ball logOfModulusOnBalls(Complex z, int bits) {
    const ScaledParts p = scaledParts(z);
    const bool xLarger = std::fabs(p.x) >= std::fabs(p.y);
    const Ball larger(xLarger ? p.x : p.y, bits), smaller(xLarger ? p.y : p.x, bits), one(1.0, bits);
    const double approximate = p.x * p.x + p.y * p.y;
    const Ball twice = approximate >= 0.5 && approximate <= 2.0
                           ? real::log1p((larger - one) * (larger + one) + smaller * smaller)
                           : real::log(larger * larger + smaller * smaller);
    const Ball half = scaled(twice, -1);
    if (p.e == 0) return half;
    return half + Ball(static_cast<double>(p.e), bits) * real::ln2(bits);
}

double roundedLogOfModulus(Complex z, PartPath path) {
    if (unitModulus(z)) return +0.0;
    const DoubleDouble value = wideLogOfModulus(z, Precision::fast);
    return rounded(
        {value, 0}, path, [&] { return ScaledDoubleDouble{wideLogOfModulus(z, Precision::accurate), 0}; },
        [&](int bits) { return logOfModulusOnBalls(z, bits); });
}

double roundedDecimalLogOfModulus(Complex z, PartPath path) {
    if (unitModulus(z)) return +0.0;
    const DoubleDouble natural = wideLogOfModulus(z, Precision::fast);
    const DoubleDouble decimal = ddMultiply(natural, inverseLnTen);
    double exact = 0.0;
    if (exactDecimalLog(z, decimal, exact)) return exact;
    return rounded(
        {decimal, 0}, path,
        [&] { return ScaledDoubleDouble{ddMultiply(wideLogOfModulus(z, Precision::accurate), inverseLnTen), 0}; },
        [&](int bits) { return logOfModulusOnBalls(z, bits) / real::ln10(bits); });
}

double roundedDecimalAngle(Complex z, PartPath path) {
    if (z.im == 0.0 && z.re > 0.0) return z.im;  // arg z = ±0, as atan2 gives it
    const AngleMagnitude magnitude = fastMagnitudeOfAngle(z);
    const DoubleDouble decimal = ddMultiply(magnitude.value.value, inverseLnTen);
    const ScaledDoubleDouble fast{std::signbit(z.im) ? negated(decimal) : decimal, magnitude.value.exponent};
    return rounded(
        fast, path,
        [&] { return magnitude.accurate ? fast : ScaledDoubleDouble{ddMultiply(real::wide::atan2(z.im, z.re), inverseLnTen), 0}; },
        [&](int bits) { return real::atan2(Ball(z.im, bits), Ball(z.re, bits)) / real::ln10(bits); });
}

double roundedDecimalEighthsOfTurn(double angle, PartPath path) {
    if (angle == 0.0) return angle;
    const double eighths = real::nearestInteger(angle / real::tables::quarterPi);  // -4 ... 4
    const DoubleDouble decimal = ddMultiply(times(eighths, quarterPi), inverseLnTen);  // within 2^-103
    return rounded(
        {decimal, 0}, path, [&] { return ScaledDoubleDouble{decimal, 0}; },
        [&](int bits) { return Ball(eighths, bits) * real::pi(bits) / (Ball(4.0, bits) * real::ln10(bits)); });
}

}  // namespace kx
