// The power z ^ w, for z = x + iy and an exponent w = u + iv:
//
//   z ^ w   = pow(x, u) for real z and w; e^(w·ln x) with the real logarithm for a real
//             base; z·z·...·z (integer_power.h) for an integer u, 1 <= |u| <= 1024, and
//             v = 0; exp(w·ln z) otherwise
//
// Branch cut (W. Kahan, "Branch cuts for complex elementary functions", 1987): a power of a
// non-real base is cut along the negative real axis, as ln is, and the sign of a zero y
// chooses the side: atan2 gives +pi for +0 and -pi for -0. A real base with a real exponent
// uses the real power, so (-8)^(1/3) is NaN, not a complex cube root.
//
// The power of finite operands is formed in double-double: ln|z| (from x² + y² - 1 near
// |z| = 1) and arg z with relative errors near 2^-100, w·ln z with an absolute error
// eta <= 2^-98·|w|·|ln z|, then e^Re, cos Im and sin Im of that wider argument (errors
// near 2^-100), each part rounded once. A part e^Re·cos Im is then within half an ulp plus
// (eta·(1 + |tan Im|) + 2^-98)·2^53 ulp: for |w·ln z| up to 2^20, eta <= 2^-78 and the
// part is correctly rounded but in rare cases, within one ulp unless it is below 2^-24 of
// the modulus by cancellation of Im against a quarter turn. Parts that are small because
// z is near an axis keep their digits: arg z is held as quarter turns plus the angle from
// the axis (u times the quarter turns reduced exactly modulo 4), and an angle below 2^-60
// as the ratio of the parts scaled near 1.
//
// That accurate path is the fallback of a fast one with the same formulas and the fast
// kernels of src/real (ln, atan, e^t, sin and cos in double-double with relative
// errors below 2^-65), which carries bounds as it goes: ln|z| within 2^-65 of itself (plus,
// near |z| = 1, 3 times the rounding of x² + y² - 1's low terms over |x² + y² - 1|), Re and
// Im of w·ln z within 2^-65 of the terms from logarithms and angles plus 2^-100 of every
// term, so a part e^Re·cos Im within 2^-64 + err(Re) of itself plus err(Im)·|e^Re·sin Im|
// (likewise the sine). A part is kept when every value within twice its bound rounds to
// the same normal double: it is then correctly rounded, so the same as the accurate
// path's wherever that is. Otherwise the whole call takes the accurate path: about one
// call in 30 to 100 for parts and exponents of a few units, more as |w·ln z| grows, and
// every call whose smaller part cancels to below about 2^-50 of the larger (e^(i·pi)),
// or whose result is subnormal or beyond |Re| = 745 or |Im| = 2^20.
//
// Accuracy, measured against correctly rounded references (tests/reference): the power
// correctly rounded in every part of the table and of a sample of 20000
// (generate_exponential.py --sweep), and the fast path the same as the accurate one bit for
// bit over 22 million random operands (sameness test). The real functions used (pow, log
// and the double-double kernels) are the portable ones of src/real, so results are
// the same on every system.
#include "complex/power.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "complex/arithmetic.h"
#include "complex/exponential.h"
#include "complex/integer_power.h"
#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/exp.h"
#include "real/inverse_circular.h"
#include "real/log.h"
#include "real/pow.h"
#include "real/sin_cos.h"
#include "real/tables.h"

namespace kx {
namespace {

// --- the power in double-double ---
//
// w·ln z is carried in double-double, its imaginary part as a whole number of quarter
// turns plus a remainder: arg z is k·pi/2 + phi with phi = ±atan(small part / large part),
// and u·k (exact) is reduced modulo 4 exactly, so a base near an axis raised to a half
// integer, say, leaves a remainder formed without cancellation against pi.

// w·ln z = re + i·(quarterTurns·pi/2 + im).
struct WideExponent {
    DoubleDouble re;
    DoubleDouble im;
    int quarterTurns;
};

// arg z = quarterTurns·pi/2 + offset·2^-shift, |offset·2^-shift| <= pi/4; shift is not
// zero only when the offset is the ratio of the parts, below 2^-60 (then atan of it is the
// ratio to within 2^-120 of itself), held scaled near 1 so that it keeps its digits.
struct AxisAngle {
    int quarterTurns;
    DoubleDouble offset;
    int shift;
};

// Exponent parts up to this keep every double-double product below in range (Veltkamp's
// split needs |a| < 2^996; |ln z| < 745); larger ones take the plain path.
constexpr double largestWideExponent = 0x1p900;
// Below this ratio of the parts, atan of the ratio is the ratio to within 2^-120 of itself.
constexpr double smallRatio = 0x1p-60;
// Below this |theta|, sin theta is theta and cos theta is 1 to within 2^-108.
constexpr double negligibleAngle = 0x1p-54;
// From this |Im(w ln z)| on, the argument's own double-double error (about 2^-104 of it)
// reaches the last bits; its sine and cosine are those of its rounded double.
constexpr double largestWideAngle = 0x1p50;
// z is scaled before its parts are squared when the larger is outside [2^-450, 2^450]:
// inside, the squares and the low parts of their Dekker products are normal doubles.
constexpr int largestUnscaledExponent = 450;

DoubleDouble times(double a, DoubleDouble b) { return ddMultiply({a, 0.0}, b); }

// a·2^-shift.
DoubleDouble unscaled(DoubleDouble a, int shift) {
    return shift == 0 ? a : ddTimesPowerOfTwo(a, -shift);
}

// x² + y² - 1 in double-double: the five terms of the exact value (the squares as Dekker
// products) summed with Priest's doubly compensated summation, then their remainder after
// the rounded sum likewise, so the result is relative to itself even on |z| = 1.
DoubleDouble sumOfSquaresMinusOneWide(double x, double y) {
    const DoubleDouble xSquared = twoProduct(x, x);
    const DoubleDouble ySquared = twoProduct(y, y);
    const std::array terms{xSquared.high, ySquared.high, -1.0, xSquared.low, ySquared.low};
    const double high = accurateSum(terms);
    const double low = accurateSum(std::array{terms[0], terms[1], terms[2], terms[3], terms[4], -high});
    return fastTwoSum(high, low);
}

// ln|z| = e·ln2 + ln(X² + Y²)/2 with X + iY = z·2^-e, e = 0 unless the larger part is
// outside [2^-450, 2^450]. For X² + Y² in [1/2, 2] the logarithm is ln(1 + d) of
// d = X² + Y² - 1 formed as above, so it is relative to itself also next to |z| = 1.
DoubleDouble wideLogOfModulus(Complex z) {
    int e = 0;
    std::frexp(std::max(std::fabs(z.re), std::fabs(z.im)), &e);
    if (std::abs(e) <= largestUnscaledExponent) e = 0;
    const double x = e == 0 ? z.re : scaledByPowerOfTwo(z.re, -e);
    const double y = e == 0 ? z.im : scaledByPowerOfTwo(z.im, -e);
    const DoubleDouble squares = ddAdd(twoProduct(x, x), twoProduct(y, y));
    const DoubleDouble twice = squares.high >= 0.5 && squares.high <= 2.0
                                   ? real::wide::log1p(sumOfSquaresMinusOneWide(x, y))
                                   : real::wide::log(squares);
    const DoubleDouble logOfModulus{0.5 * twice.high, 0.5 * twice.low};
    if (e == 0) return logOfModulus;
    return ddAdd(times(static_cast<double>(e), real::tables::lnTwo), logOfModulus);
}

// The angle of z = x + iy, y not zero, both finite, measured from the nearest axis;
// arctangent(small, large) is atan(small/large) (real::wide::atan2 or its fast variant).
AxisAngle axisAngle(Complex z, DoubleDouble (*arctangent)(double, double)) {
    const double ax = std::fabs(z.re);
    const double ay = std::fabs(z.im);
    const bool nearReal = ay <= ax;
    const double small = nearReal ? ay : ax;
    const double large = nearReal ? ax : ay;
    // theta = atan(y/x) (x > 0), ±pi ∓ atan(|y|/|x|) (x < 0), ±pi/2 - atan(x/y) (|y| > |x|).
    const int quarterTurns = nearReal ? (z.re > 0.0 ? 0 : (z.im > 0.0 ? 2 : -2)) : (z.im > 0.0 ? 1 : -1);
    const bool negativeOffset = nearReal ? (z.re > 0.0) == (z.im < 0.0) : (z.re > 0.0) == (z.im > 0.0);
    DoubleDouble offset{0.0, 0.0};
    int shift = 0;
    if (small != 0.0 && small < large * smallRatio) {
        int largeExponent = 0;
        int smallExponent = 0;
        std::frexp(large, &largeExponent);
        std::frexp(small, &smallExponent);
        shift = largeExponent - smallExponent;
        // Both parts scaled into [1/2, 1) first (exact), so the division's products stay in range.
        offset = ddDivide({scaledByPowerOfTwo(small, -smallExponent), 0.0}, {scaledByPowerOfTwo(large, -largeExponent), 0.0});
    } else {
        offset = arctangent(small, large);
    }
    return {quarterTurns, negativeOffset ? negated(offset) : offset, shift};
}

// u·(k·pi/2) = n·pi/2 + a·pi/2 with u·k exact (|k| <= 2), reduced modulo 4 exactly, n the
// nearest integer and |a| <= 1/2; n is returned, a·pi/2 added to im.
int quarterTurnsOfMultiple(double u, int k, DoubleDouble& im) {
    const double turns = std::fmod(u * k, 4.0);
    const double nearest = std::nearbyint(turns);
    im = ddAdd(im, times(turns - nearest, real::tables::halfPi));
    return static_cast<int>(nearest);
}

// t·e^a rounded once, with e^a = m.value·2^m.exponent; beyond |a| = 1842, where the
// result is zero or infinite, the scaled product E decides as for exp.
double wideScaledProduct(DoubleDouble a, DoubleDouble t, const ScaledDoubleDouble& m, int shift = 0) {
    if (t.high == 0.0) return +0.0;
    if (std::fabs(a.high) > exponentialProductLimit)
        return scaledExponentialProduct(a.high, scaledByPowerOfTwo(rounded(t), -shift));
    return real::wide::roundTimesPowerOfTwo(ddMultiply(t, m.value), m.exponent - shift);
}

ScaledDoubleDouble wideExponential(DoubleDouble a) {
    if (std::fabs(a.high) > exponentialProductLimit) return {{0.0, 0.0}, 0};  // not read: wideScaledProduct uses E
    return real::wide::exp(a);
}

// (cosine, sine) turned by quarterTurns·pi/2 and multiplied by e^a, each part rounded
// once; the sine is sine·2^-sineShift.
Complex turnedScaledProducts(DoubleDouble a, DoubleDouble cosine, DoubleDouble sine, int sineShift, int quarterTurns) {
    const ScaledDoubleDouble m = wideExponential(a);
    switch (quarterTurns & 3) {
        case 0: return {wideScaledProduct(a, cosine, m), wideScaledProduct(a, sine, m, sineShift)};
        case 1: return {wideScaledProduct(a, negated(sine), m, sineShift), wideScaledProduct(a, cosine, m)};
        case 2: return {wideScaledProduct(a, negated(cosine), m), wideScaledProduct(a, negated(sine), m, sineShift)};
        default: return {wideScaledProduct(a, sine, m, sineShift), wideScaledProduct(a, negated(cosine), m)};
    }
}

// e^p, each part rounded once.
Complex wideExp(const WideExponent& p) {
    real::WideSineCosine angle{};
    if (std::fabs(p.im.high) < largestWideAngle) {
        angle = real::wide::sinCos(p.im);
    } else {
        const real::SineCosine plain = real::sinCos(p.im.high);
        angle = {{plain.sine, 0.0}, {plain.cosine, 0.0}};
    }
    return turnedScaledProducts(p.re, angle.cosine, angle.sine, 0, p.quarterTurns);
}

// z^u = e^(u·ln z) for z not real and finite, u real. When u·arg z is a whole number of
// quarter turns plus u times a ratio of the parts that is negligible as an angle, the
// sine is that product, still scaled: a part such as u·y·x^(u-1) keeps its digits below
// the normal range.
Complex realPowerOfComplexBase(Complex z, double u) {
    const DoubleDouble re = times(u, wideLogOfModulus(z));
    const AxisAngle angle = axisAngle(z, real::wide::atan2);
    DoubleDouble im{0.0, 0.0};
    const int quarterTurns = quarterTurnsOfMultiple(u, angle.quarterTurns, im);
    const DoubleDouble offsetTimesU = times(u, angle.offset);
    if (im.high == 0.0 && angle.shift != 0 && std::fabs(offsetTimesU.high) < scaledByPowerOfTwo(negligibleAngle, angle.shift))
        return turnedScaledProducts(re, {1.0, 0.0}, offsetTimesU, angle.shift, quarterTurns);
    return wideExp({re, ddAdd(im, unscaled(offsetTimesU, angle.shift)), quarterTurns});
}

// z^w = e^(w·ln z) for z not real and w not real, both finite: Re = u·ln|z| - v·arg z,
// Im = u·arg z + v·ln|z|, with u·arg z in quarter turns as above.
Complex complexPowerOfComplexBase(Complex z, Complex w) {
    const DoubleDouble logOfModulus = wideLogOfModulus(z);
    const AxisAngle angle = axisAngle(z, real::wide::atan2);
    const DoubleDouble offset = unscaled(angle.offset, angle.shift);
    const DoubleDouble argument = ddAdd(times(angle.quarterTurns, real::tables::halfPi), offset);
    DoubleDouble im = times(w.im, logOfModulus);
    const int quarterTurns = quarterTurnsOfMultiple(w.re, angle.quarterTurns, im);
    im = ddAdd(im, times(w.re, offset));
    return wideExp({ddSubtract(times(w.re, logOfModulus), times(w.im, argument)), im, quarterTurns});
}

// x^w = e^(w·ln x) for a real base x > 0 and w not real, both finite.
Complex complexPowerOfPositiveBase(double x, Complex w) {
    const DoubleDouble l = real::wide::log({x, 0.0});
    return wideExp({times(w.re, l), times(w.im, l), 0});
}


// --- the power's fast path ---
//
// The same formulas with the fast kernels of src/real, carrying a bound on the
// absolute error of Re and Im of w·ln z, then on the relative error of each part of
// e^Re·(cos Im, sin Im). A part is taken only when every value within its bound rounds to
// the same double and that double is normal: it is then the correctly rounded part, which
// the accurate path gives too wherever that one is correctly rounded. Otherwise (about
// one call in a hundred) the call takes the accurate path.

// Relative error of fastLog, fastLog1p and fastAtan (below 2^-65.4) with the double-double
// products and sums after them (2^-104 each).
constexpr double fastLogarithmError = 0x1p-65;
// Relative error of a product e^a·t from fastExp (2^-65.3), the kernels of fastSinCos
// (2^-66 of each part) and ddMultiply (2^-104): below 2^-64.5.
constexpr double fastProductError = 0x1p-64;
// The double-double sums and products forming Im: 2^-104 of each term, counted as 2^-100
// of |Im| plus the quarter-turn term.
constexpr double wideArithmeticError = 0x1p-100;
// fastSinCos's absolute error in its argument, from |Im| = pi/4 on (below it the
// reduction subtracts nothing and its error is relative, inside wideArithmeticError).
constexpr double fastReductionError = 0x1p-102;
constexpr double fastReductionStart = 0.78;
// The fast kernels' ranges: fastExp for |Re| <= 745, fastSinCos for |Im| < 2^20. Factors
// below 2^-900 could leave a Dekker product's low part below the normal range.
constexpr double fastExponentLimit = 745.0;
constexpr double fastAngleLimit = 0x1p20;
constexpr double smallestFastFactor = 0x1p-900;

// The absolute error of Im = im as fastSinCos sees it: kernelError from the logarithms and
// angles in it, terms the magnitudes of its other terms than turnTerm, the quarter-turn term.
double fastAngleError(double kernelError, double terms, double turnTerm, double im) {
    const double magnitude = std::fabs(im);
    const double reduction = magnitude < fastReductionStart ? 0.0 : fastReductionError;
    return kernelError + wideArithmeticError * (terms + std::fabs(turnTerm) + magnitude) + reduction;
}

// ln|z| as wideLogOfModulus forms it, with the fast kernels, and a bound on its relative
// error; false when there is none. Near |z| = 1, d = X² + Y² - 1 is summed by two-sums of
// the squares' high parts and -1, the four low terms (the Dekker products' low parts and
// the two-sums' errors) added in double: their rounding is at most 3·2^-53 of the sum of
// their magnitudes, nothing when they are all zero. On [-1/2, 1] |ln(1 + d)| >= 0.69|d|
// and its derivative is at most 2, so that adds 3 times the absolute error over |d|.
bool fastLogOfModulus(Complex z, DoubleDouble& result, double& relativeError) {
    int e = 0;
    std::frexp(std::max(std::fabs(z.re), std::fabs(z.im)), &e);
    if (std::abs(e) <= largestUnscaledExponent) e = 0;
    const double x = e == 0 ? z.re : scaledByPowerOfTwo(z.re, -e);
    const double y = e == 0 ? z.im : scaledByPowerOfTwo(z.im, -e);
    const DoubleDouble xSquared = twoProduct(x, x);
    const DoubleDouble ySquared = twoProduct(y, y);
    const DoubleDouble squares = ddAdd(xSquared, ySquared);
    DoubleDouble twice{0.0, 0.0};
    relativeError = fastLogarithmError;
    if (squares.high >= 0.5 && squares.high <= 2.0) {
        const DoubleDouble first = twoSum(xSquared.high, -1.0);
        const DoubleDouble second = twoSum(first.high, ySquared.high);
        const double lows = ((first.low + second.low) + xSquared.low) + ySquared.low;
        const double lowsError = 3.0 * 0x1p-53 *
                                 (std::fabs(first.low) + std::fabs(second.low) + std::fabs(xSquared.low) + std::fabs(ySquared.low));
        const DoubleDouble d = twoSum(second.high, lows);
        if (d.high == 0.0 && lowsError != 0.0) return false;
        if (d.high != 0.0) relativeError += 3.0 * lowsError / std::fabs(d.high) * (1.0 + 0x1p-50);
        twice = real::wide::fastLog1p(d);
    } else {
        twice = real::wide::fastLog(squares);
    }
    result = {0.5 * twice.high, 0.5 * twice.low};
    if (e != 0) result = ddAdd(times(static_cast<double>(e), real::tables::lnTwo), result);
    return true;
}

// value·2^exponent rounded, when every value within margin of value rounds the same way
// and the result is normal (then the rounding of value.high + value.low is value.high,
// and the scaling is exact).
bool decidedPart(DoubleDouble value, double margin, int exponent, double& result) {
    if (value.high + (value.low - margin) != value.high + (value.low + margin)) return false;
    int valueExponent = 0;
    std::frexp(value.high, &valueExponent);  // |value.high| in [2^(e-1), 2^e)
    const int total = valueExponent + exponent;
    if (total < -1021 || total > 1024) return false;
    result = scaledByPowerOfTwo(value.high, exponent);
    return true;
}

// True when the angle's error alone leaves the part with the smaller factor (at most
// smallerFactor) undecided: its margin, at least 2·angleError·0.7 times m.value (the
// larger factor is at least 0.7), spans a whole ulp, at most 2^-52 of the part. Such calls
// leave early.
bool undecidedByAngle(double angleError, double smallerFactor) {
    return 2.0 * angleError * 0.7 > 0x1p-52 * smallerFactor;
}

// turnedScaledProducts with the fast exponential: a has absolute error aError, cosine and
// sine the relative errors of fastSinCos plus those of an absolute error angleError in
// their argument (zero when the sine is scaled, sineShift > 0). The margins are twice the
// bounds, for their own roundings; e^aError - 1 <= 1.001·aError wherever a margin can
// decide (aError < 2^-50). A zero sine with no angle error comes from an Im whose terms
// are all exactly zero, in the accurate path too: that part is +0 there, whatever the turn.
bool fastTurnedScaledProducts(DoubleDouble a, double aError, DoubleDouble cosine, DoubleDouble sine,
                              int sineShift, int quarterTurns, double angleError, Complex& result) {
    const bool zeroSine = sine.high == 0.0 && angleError == 0.0;
    if (!(std::fabs(a.high) <= fastExponentLimit) || !(std::fabs(cosine.high) >= smallestFastFactor) ||
        !(zeroSine || std::fabs(sine.high) >= smallestFastFactor))
        return false;
    // |cos(x + eta) - cos x| <= eta·|sin x| + eta², likewise for sin, times m.value <= 2.02
    const double cross = 2.0 * 1.001 * angleError;
    const double square = angleError * 2.02;
    const double smallerFactor = std::min(std::fabs(cosine.high), zeroSine ? 1.0 : std::fabs(sine.high));
    if (undecidedByAngle(angleError, smallerFactor)) return false;
    const ScaledDoubleDouble m = real::wide::fastExp(a);
    const DoubleDouble c = ddMultiply(cosine, m.value);
    const DoubleDouble s = ddMultiply(sine, m.value);
    const double relative = 2.0 * (fastProductError + 1.001 * aError);
    double cosinePart = 0.0;
    double sinePart = 0.0;
    if (!decidedPart(c, relative * std::fabs(c.high) + cross * (std::fabs(s.high) + square), m.exponent, cosinePart))
        return false;
    if (!zeroSine && !decidedPart(s, relative * std::fabs(s.high) + cross * (std::fabs(c.high) + square),
                                  m.exponent - sineShift, sinePart))
        return false;
    const double negatedSine = zeroSine ? +0.0 : -sinePart;
    switch (quarterTurns & 3) {
        case 0: result = {cosinePart, sinePart}; break;
        case 1: result = {negatedSine, cosinePart}; break;
        case 2: result = {-cosinePart, negatedSine}; break;
        default: result = {sinePart, -cosinePart}; break;
    }
    return true;
}

// wideExp with the fast kernels; Re and Im of p have absolute errors reError and imError.
bool fastWideExp(const WideExponent& p, double reError, double imError, Complex& result) {
    if (!(std::fabs(p.im.high) < fastAngleLimit)) return false;
    // As in fastTurnedScaledProducts, but before the kernels run: the smaller factor is at
    // most the angle's distance to the nearest quarter turn.
    const double quarterTurnsNear = std::nearbyint(p.im.high * (2.0 / real::tables::pi.high));
    const double distance = std::fabs(p.im.high - quarterTurnsNear * real::tables::halfPi.high);
    if (undecidedByAngle(imError, distance)) return false;
    const bool zeroAngle = p.im.high == 0.0 && p.im.low == 0.0;  // the kernels would give these exactly
    const real::WideSineCosine angle =
        zeroAngle ? real::WideSineCosine{{0.0, 0.0}, {1.0, 0.0}} : real::wide::fastSinCos(p.im);
    return fastTurnedScaledProducts(p.re, reError, angle.cosine, angle.sine, 0, p.quarterTurns, imError, result);
}

bool fastRealPowerOfComplexBase(Complex z, double u, Complex& result) {
    DoubleDouble logOfModulus{};
    double logError = 0.0;
    if (!fastLogOfModulus(z, logOfModulus, logError)) return false;
    const DoubleDouble re = times(u, logOfModulus);
    const double reError = (logError + wideArithmeticError) * std::fabs(re.high);
    const AxisAngle angle = axisAngle(z, real::wide::fastAtan);
    DoubleDouble turnTerm{0.0, 0.0};
    const int quarterTurns = quarterTurnsOfMultiple(u, angle.quarterTurns, turnTerm);
    const DoubleDouble offsetTimesU = times(u, angle.offset);
    if (turnTerm.high == 0.0 && angle.shift != 0 &&
        std::fabs(offsetTimesU.high) < scaledByPowerOfTwo(negligibleAngle, angle.shift))
        return fastTurnedScaledProducts(re, reError, {1.0, 0.0}, offsetTimesU, angle.shift, quarterTurns, 0.0, result);
    const DoubleDouble offset = unscaled(offsetTimesU, angle.shift);
    const DoubleDouble im = ddAdd(turnTerm, offset);
    const double imError =
        fastAngleError(fastLogarithmError * std::fabs(offset.high), std::fabs(offset.high), turnTerm.high, im.high);
    return fastWideExp({re, im, quarterTurns}, reError, imError, result);
}

bool fastComplexPowerOfComplexBase(Complex z, Complex w, Complex& result) {
    DoubleDouble logOfModulus{};
    double logError = 0.0;
    if (!fastLogOfModulus(z, logOfModulus, logError)) return false;
    const AxisAngle angle = axisAngle(z, real::wide::fastAtan);
    const DoubleDouble offset = unscaled(angle.offset, angle.shift);
    const DoubleDouble argument = ddAdd(times(angle.quarterTurns, real::tables::halfPi), offset);
    const DoubleDouble vLog = times(w.im, logOfModulus);
    DoubleDouble turnTerm{0.0, 0.0};
    const int quarterTurns = quarterTurnsOfMultiple(w.re, angle.quarterTurns, turnTerm);
    const DoubleDouble uOffset = times(w.re, offset);
    const DoubleDouble im = ddAdd(ddAdd(vLog, turnTerm), uOffset);
    const DoubleDouble uLog = times(w.re, logOfModulus);
    const DoubleDouble vArgument = times(w.im, argument);
    const double reError = (logError + wideArithmeticError) * std::fabs(uLog.high) +
                           (fastLogarithmError + wideArithmeticError) * std::fabs(vArgument.high);
    const double imError = fastAngleError(logError * std::fabs(vLog.high) + fastLogarithmError * std::fabs(uOffset.high),
                                          std::fabs(vLog.high) + std::fabs(uOffset.high), turnTerm.high, im.high);
    return fastWideExp({ddSubtract(uLog, vArgument), im, quarterTurns}, reError, imError, result);
}

bool fastComplexPowerOfPositiveBase(double x, Complex w, Complex& result) {
    const DoubleDouble l = real::wide::fastLog({x, 0.0});
    const DoubleDouble re = times(w.re, l);
    const DoubleDouble im = times(w.im, l);
    const double reError = (fastLogarithmError + wideArithmeticError) * std::fabs(re.high);
    const double imError = fastAngleError(fastLogarithmError * std::fabs(im.high), 0.0, 0.0, im.high);
    return fastWideExp({re, im, 0}, reError, imError, result);
}

// Which kernels the power uses: the fast ones first, or the accurate ones only (for the
// tests that check the fast path never changes a result).
enum class PowerPath { fastFirst, accurateOnly };

// A part counts as zero when it equals zero, of either sign; a NaN part is not zero.
// Finite operands take the double-double paths above (an integer exponent its own); the
// rest, whose results are NaN, infinite or zero by the conventions of ln and exp, take
// those.
template <PowerPath path>
Complex powerBy(Complex base, Complex exponent) {
    constexpr bool fast = path == PowerPath::fastFirst;
    const bool realExponent = exponent.im == 0.0;
    const bool realBase = base.im == 0.0;
    if (realExponent && realBase) return {real::pow(base.re, exponent.re), +0.0};
    const bool finite = std::isfinite(base.re) && std::isfinite(base.im) &&
                        std::fabs(exponent.re) <= largestWideExponent && std::fabs(exponent.im) <= largestWideExponent;
    Complex result{};
    if (realExponent) {
        if (!finite) return exp(multiply({exponent.re, +0.0}, ln(base)));
        const double u = exponent.re;
        if (std::fabs(u) >= 1.0 && std::fabs(u) <= largestIntegerPower && std::nearbyint(u) == u)
            return integerPower(base, static_cast<int>(u));
        if (fast && fastRealPowerOfComplexBase(base, u, result)) return result;
        return realPowerOfComplexBase(base, u);
    }
    if (realBase) {
        if (finite && base.re > 0.0) {
            if (fast && fastComplexPowerOfPositiveBase(base.re, exponent, result)) return result;
            return complexPowerOfPositiveBase(base.re, exponent);
        }
        const double l = real::log(base.re);  // NaN for a negative base, -inf for zero
        return exp({l * exponent.re, l * exponent.im});
    }
    if (!finite) return exp(multiply(exponent, ln(base)));
    if (fast && fastComplexPowerOfComplexBase(base, exponent, result)) return result;
    return complexPowerOfComplexBase(base, exponent);
}

}  // namespace

Complex power(Complex base, Complex exponent) { return powerBy<PowerPath::fastFirst>(base, exponent); }

namespace accurate {
Complex power(Complex base, Complex exponent) { return powerBy<PowerPath::accurateOnly>(base, exponent); }
}  // namespace accurate

}  // namespace kx
