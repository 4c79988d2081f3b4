// The inverse circular and hyperbolic functions.
//
// asin, atan and acosh are computed directly, each with a branch for the real axis, a
// branch for the imaginary axis and a general branch, tested in that order (a part is
// zero when it equals 0 of either sign; NaN is not zero). On the axes they are the real
// functions, with no complex value formed on a cut:
//   asin(x + 0i) = (asin x, +0), NaN real part for |x| > 1;  asin(0 + iy) = (+0, asinh y);
//   atan(x + 0i) = (atan x, +0);  atan(0 + iy) = (+0, atanh y), NaN for |y| > 1, ±inf at ±i;
//   acosh(x + 0i) = (acosh x, +0), NaN real part for x < 1.
// Off the axes they are the principal values: asin and acos with cuts (-inf, -1] and
// [1, inf), atan with cuts on the imaginary axis beyond ±i, acosh with its cut (-inf, 1].
//
// asin and acosh follow Hull, Fairgrieve and Tang, "Implementing the complex arcsine and
// arccosine functions using exception handling", ACM TOMS 23(3), 1997. With r = |z + 1|,
// s = |z - 1|, A = (r + s)/2 and B = |x|/A:
//   asin z = ±asin B ± i ln(A + sqrt(A² - 1)),   acosh z = ln(A + sqrt(A² - 1)) ± i acos(B);
// A - 1 and, near B = 1, the arcsine and arccosine of B are formed from r, s and the parts
// without cancellation. atan follows Kahan, "Branch cuts for complex elementary functions,
// or much ado about nothing's sign bit", 1987:
//   atan z = (½ atan2(2x, 1 - x² - y²), ¼ log1p(4|y| / (x² + (1 - |y|)²)) with the sign of y),
// with 1 - x² - y² formed from exact squares.
//
// Huge parts (beyond 2^500) take the asymptotic forms, which are exact there; infinities
// give the limits (asin(inf + i) = π/2 + inf i). A NaN part off the axes gives NaN parts.
//
// acos, asinh and atanh are each one call of asin or atan (identities at the functions).
// The six reciprocal functions are an inner function of 1/z, formed from z itself where the
// rounding of 1/z would cost digits: next to their branch points (w = 1/z near ±1 or ±i) an
// error of half an ulp in w moves the result by about sqrt(ulp). With w = conj(z)/|z|²:
//   |w ± 1| = |z ± 1|/|z|,  1 - Re w = (|z|² - x)/|z|² (numerator from exact squares),
// which are all Hull, Fairgrieve and Tang's formulas need for asin w, acos w and acosh w, and
//   atan w = (½ atan2(2x, |z|² - 1), -¼ ln((x² + (1 + y)²)/(x² + (1 - y)²)) signed by y)
// for acot; acsch z = -i acsc(-iz) and acoth z = -i acot(-iz). On the axes the real
// functions of 1/t come from t: acos(1/t) and asin(1/t) are angles of (±1, sqrt(t² - 1)),
// acosh(1/t) = ln((1 + sqrt(1 - t²))/t) and atanh(1/t) = ½ ln((t + 1)/(t - 1)), in
// double-double. Where 1/z is far from the branch points (|z| beyond 2^±500, the axes where
// the inner function is well conditioned) the rounded reciprocal is used as it is.
//
// Accuracy against mpmath (tests/reference/inverse.txt, about 6800 points near 0, the
// branch points, both sides of every cut, the unit circle, tiny and huge magnitudes, and
// the reciprocal functions on the axes): every part within 2 ulp of its own true value.
#include "complex/inverse.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "complex/circular.h"
#include "core/double_double.h"
#include "real/hypot.h"
#include "real/inverse_circular.h"
#include "real/inverse_hyperbolic.h"
#include "real/log.h"
#include "real/tables.h"

namespace kx {
namespace {

// π and π/2 as double-doubles (high + low), ln 2 rounded: real::tables.
using real::tables::halfPi;
using real::tables::lnTwo;
using real::tables::pi;
constexpr double infinity = std::numeric_limits<double>::infinity();

// Beyond this magnitude of a part, the terms dropped by asin z ~ -i ln(2iz) and
// atan z ~ ±π/2 - 1/z are below 2^-1000 relative, and the squares of the general
// formulas would come near overflow.
constexpr double largePart = 0x1p+500;
// Below this imaginary part (with |x| < 1) y² loses precision to underflow; the terms
// beyond Im asin z = y/sqrt(1 - x²) are then below 2^-800 relative.
constexpr double tinyPart = 0x1p-450;
// The crossover values of Hull, Fairgrieve and Tang: above B = 0.6417 the arcsine of B is
// taken as an arctangent; above A = 1.5 the logarithm no longer cancels.
constexpr double arcsineCrossover = 0.6417;
constexpr double logarithmCrossover = 1.5;
// Below this, |u + iv| cannot overflow (it is at most √2·2^1000); above, the parts are halved first.
constexpr double hypotSafeBound = 0x1p+1000;
// Below this, x² + (1 - y)² (zero only at ±i) is near the underflow threshold and 4y over it
// could overflow: z is within 2^-450 of ±i.
constexpr double nearPoleSquare = 0x1p-900;

bool isZero(double value) { return value == 0.0; }  // 0 == -0; NaN is not zero

// A NaN pair that carries the argument's NaN (the default NaN pair stays the default),
// chosen rather than computed: what arithmetic makes of a NaN is the processor's (RISC-V
// gives its one canonical NaN whatever the operands were).
Complex nanPairFrom(Complex z) {
    const double nan = std::isnan(z.re) ? z.re : z.im;
    return {nan, nan};
}

// The real arcsine: NaN (the default NaN) for |x| > 1, infinities included.
double realArcsine(double x) { return std::fabs(x) > 1.0 ? defaultNaN : real::asin(x); }

// The real inverse hyperbolic cosine: the default NaN for x < 1.
double realInverseHyperbolicCosine(double x) { return x < 1.0 ? defaultNaN : real::acosh(x); }

// The real inverse hyperbolic tangent: ±inf at ±1, the default NaN for |y| > 1.
// atanh y = ½ log1p(2|y| / (1 - |y|)) with the sign of y; 1 - |y| is exact near 1.
double realInverseHyperbolicTangent(double y) {
    const double t = std::fabs(y);
    if (t > 1.0) return defaultNaN;
    if (t == 1.0) return std::copysign(infinity, y);
    return std::copysign(0.5 * real::log1p((t + t) / (1.0 - t)), y);
}

// Hull, Fairgrieve and Tang's quantities for x, y >= 0, both finite and at most largePart.
struct UnitDistances {
    double x, y;
    double r;          // |z + 1|
    double s;          // |z - 1|
    double A;          // (r + s)/2 >= 1
    double onePlusX;   // 1 + x
    double oneMinusX;  // 1 - x, its sign that of 1 - x even where x itself rounds to 1
};

UnitDistances unitDistances(double x, double y) {
    const double r = real::hypot(x + 1.0, y);
    const double s = real::hypot(x - 1.0, y);
    return {x, y, r, s, 0.5 * (r + s), x + 1.0, 1.0 - x};
}

// The same quantities for w = 1/conj(z) = (x + iy)/|z|², the first-quadrant image of 1/z, from
// x, y >= 0 with the larger in [2^-500, 2^500]: |w ± 1| = |z ± 1|/|z|, and 1 - Re w =
// (|z|² - x)/|z|², whose numerator is formed in double-double from exact squares, so it
// keeps its digits next to w = 1, where 1 - Re w rounded from a rounded reciprocal would not.
UnitDistances reciprocalUnitDistances(double x, double y) {
    const DoubleDouble squaredModulus = ddAdd(twoProduct(x, x), twoProduct(y, y));
    const double modulus = real::hypot(x, y);
    const double wx = rounded(ddDivide({x, 0.0}, squaredModulus));
    const double wy = rounded(ddDivide({y, 0.0}, squaredModulus));
    const double r = real::hypot(x + 1.0, y) / modulus;
    const double s = real::hypot(x - 1.0, y) / modulus;  // x - 1 exact near 1
    const double oneMinusX = rounded(ddDivide(ddSubtract(squaredModulus, {x, 0.0}), squaredModulus));
    return {wx, wy, r, s, 0.5 * (r + s), 1.0 + wx, oneMinusX};
}

// ln(A + sqrt(A² - 1)) = acosh A, with A - 1 formed without cancellation.
double inverseCoshOfA(const UnitDistances& d) {
    const double y = d.y;
    const bool belowOne = d.oneMinusX > 0.0;  // x < 1
    if (belowOne && y < tinyPart) return y / std::sqrt(d.oneMinusX * d.onePlusX);  // y² would underflow
    if (d.A <= logarithmCrossover) {
        const double yy = y * y;
        const double aMinus1 = belowOne ? 0.5 * (yy / (d.r + d.onePlusX) + yy / (d.s + d.oneMinusX))
                                        : 0.5 * (yy / (d.r + d.onePlusX) + (d.s - d.oneMinusX));
        return real::log1p(aMinus1 + std::sqrt(aMinus1 * (d.A + 1.0)));
    }
    return real::log(d.A + std::sqrt(d.A * d.A - 1.0));
}

// The tangent of the arcsine of B = x/A near B = 1, as the quotient sine/cosine: it is
// x / cosineFactor with cosineFactor = A·sqrt(1 - B²) formed from r and s.
double cosineFactor(const UnitDistances& d) {
    const double x = d.x, y = d.y;
    if (d.oneMinusX >= 0.0) return std::sqrt(0.5 * (d.A + x) * (y * y / (d.r + d.onePlusX) + (d.s + d.oneMinusX)));
    return y * std::sqrt(0.5 * ((d.A + x) / (d.r + d.onePlusX) + (d.A + x) / (d.s - d.oneMinusX)));
}

// asin B, B = x/A in [0, 1].
double arcsineOfB(const UnitDistances& d) {
    const double b = d.x / d.A;
    if (b <= arcsineCrossover) return real::asin(b);
    return real::atan(d.x / cosineFactor(d));
}

// acos B, B = x/A in [0, 1].
double arccosineOfB(const UnitDistances& d) {
    const double b = d.x / d.A;
    if (b <= arcsineCrossover) return real::acos(b);
    return real::atan(cosineFactor(d) / d.x);
}

// ln(2|z|) for a large z, without overflow: |z|/4 is formed, then 3 ln 2 added.
double logOfTwiceModulus(double x, double y) { return real::log(real::hypot(0.25 * x, 0.25 * y)) + 3.0 * lnTwo.high; }

// (asin B, acosh A) for x, y >= 0, not NaN: the arcsine of x + iy in the first quadrant.
Complex firstQuadrantArcsine(double x, double y) {
    if (x > largePart || y > largePart) return {real::atan2(x, y), logOfTwiceModulus(x, y)};  // asin z ~ -i ln(2iz)
    const UnitDistances d = unitDistances(x, y);
    return {arcsineOfB(d), inverseCoshOfA(d)};
}

// (acos B, acosh A) for x, y >= 0, not NaN.
Complex firstQuadrantArccosine(double x, double y) {
    if (x > largePart || y > largePart) return {real::atan2(y, x), logOfTwiceModulus(x, y)};
    const UnitDistances d = unitDistances(x, y);
    return {arccosineOfB(d), inverseCoshOfA(d)};
}

// 1 - x² - y² for x, y >= 0 at most largePart, from the exact squares (hi + lo, the lo by
// a two-product) and exact sums: near the unit circle only the rounding of the small tail remains.
double oneMinusSquaredModulus(double x, double y) {
    const auto [xx, xxLow] = twoProduct(x, x);
    const auto [yy, yyLow] = twoProduct(y, y);
    const DoubleDouble first = twoSum(1.0, -std::max(xx, yy));  // exact sums (Knuth's two-sum)
    const DoubleDouble second = twoSum(first.high, -std::min(xx, yy));
    return second.high + (((first.low + second.low) - xxLow) - yyLow);
}

// ¼ ln((x² + (1 + y)²) / (x² + (1 - y)²)) for x, y >= 0: Im atan(x + iy).
double arctangentImaginaryPart(double x, double y) {
    const double oneMinusY = 1.0 - y;
    const double nearPole = x * x + oneMinusY * oneMinusY;
    if (nearPole < nearPoleSquare)  // ln|z + i| - ln|z - i|, each without cancellation
        return 0.5 * (real::log(real::hypot(x, 1.0 + y)) - real::log(real::hypot(x, oneMinusY)));
    return 0.25 * real::log1p(4.0 * y / nearPole);
}

// w = sqrt((1 - z)/2), principal, for Re z > 0. With 1 - z = u + iv and
// t = sqrt((|1 - z| + |u|)/4): w = (t, v/4t) for u >= 0 and (|v|/4t, ±t) for u < 0.
Complex squareRootOfHalfComplement(double x, double y) {
    const double u = 1.0 - x, v = -y;                      // exact near z = 1
    if (isZero(u) && isZero(v)) return {0.0, v};
    const double halfModulus = std::fmax(std::fabs(u), std::fabs(v)) < hypotSafeBound ? 0.5 * real::hypot(u, v)
                                                                                     : real::hypot(0.5 * u, 0.5 * v);
    const double t = std::sqrt(0.5 * (halfModulus + 0.5 * std::fabs(u)));
    if (u >= 0.0) return {t, v / (4.0 * t)};
    return {std::fabs(v) / (4.0 * t), std::copysign(t, v)};
}

// --- The reciprocal functions, formed from z -------------------------------------------------

// Within this range of the larger part's magnitude, |z|² is a normal double and the quantities
// of 1/z are formed from z; outside it 1/z is far from every branch point and the inner
// function of the rounded reciprocal is as accurate.
constexpr double smallestReciprocalPart = 0x1p-500;

bool inReciprocalRange(double ax, double ay) {
    const double larger = std::fmax(ax, ay);
    return larger >= smallestReciprocalPart && larger <= largePart;
}

// sqrt(t² - 1) for 1 <= t <= largePart, from (t - 1)(t + 1) in double-double (t - 1 exact near 1).
double rootOfSquareMinusOne(double t) { return rounded(ddSquareRoot(ddMultiply(twoSum(t, -1.0), twoSum(t, 1.0)))); }

// acos(1/x) for real x: the angle of (sign x, sqrt(x² - 1)), x scaled out; the default NaN for |x| < 1.
double arcsecantOfReal(double x) {
    if (std::fabs(x) < 1.0) return defaultNaN;
    return real::atan2(rootOfSquareMinusOne(std::fabs(x)), std::copysign(1.0, x));
}

// asin(1/x) for real x: the angle of (sqrt(x² - 1), sign x); the default NaN for |x| < 1.
double arccosecantOfReal(double x) {
    if (std::fabs(x) < 1.0) return defaultNaN;
    return real::atan2(std::copysign(1.0, x), rootOfSquareMinusOne(std::fabs(x)));
}

// acosh(1/x) = ln((1 + sqrt((1 - x)(1 + x)))/x) for 0 < x <= 1, in double-double (a sum of
// positive terms: near x = 1 the argument is 1 + sqrt(2(1 - x)), kept with its low part);
// the default NaN elsewhere, where 1/x < 1.
double inverseHyperbolicSecantOfReal(double x) {
    if (!(x > 0.0 && x <= 1.0)) return defaultNaN;
    const DoubleDouble root = ddSquareRoot(ddMultiply(twoSum(1.0, -x), twoSum(1.0, x)));
    return real::roundedLog(ddDivide(ddAdd({1.0, 0.0}, root), {x, 0.0}));
}

// atanh(1/t) = ½ ln((|t| + 1)/(|t| - 1)) with the sign of t, the quotient in double-double
// (|t| - 1 exact near 1); ±inf at ±1, the default NaN for |t| < 1.
double inverseHyperbolicCotangentOfReal(double t) {
    const double a = std::fabs(t);
    if (a < 1.0) return defaultNaN;
    if (a == 1.0) return std::copysign(infinity, t);
    const DoubleDouble ratio = ddDivide(twoSum(a, 1.0), twoSum(a, -1.0));
    return std::copysign(0.5 * real::roundedLog(ratio), t);
}

// acsc(x + iy) formed from z: on the real axis asin(1/x) from sqrt(x² - 1); off the axes the
// arcsine of w = 1/z from the unit distances of w formed from z, with the signs of w's
// parts (those of x and -y). False leaves the value to asin(reciprocal(z)): infinite, NaN or
// zero parts, the imaginary axis (asin(-i/y) = -i asinh(1/y) is well conditioned), and
// magnitudes outside the reciprocal range.
bool arccosecantFromZ(double x, double y, Complex& result) {
    if (!std::isfinite(x) || !std::isfinite(y) || isZero(x)) return false;
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (isZero(y)) {
        if (ax > largePart) return false;
        result = {arccosecantOfReal(x), +0.0};
        return true;
    }
    if (!inReciprocalRange(ax, ay)) return false;
    const UnitDistances d = reciprocalUnitDistances(ax, ay);
    result = {std::copysign(arcsineOfB(d), x), (y > 0.0 ? -1.0 : 1.0) * inverseCoshOfA(d)};
    return true;
}

// acot(x + iy) formed from z: with 1/z = conj(z)/|z|²,
//   acot z = (½ atan2(2x, |z|² - 1), -¼ ln((x² + (1 + y)²)/(x² + (1 - y)²)) with the sign of y),
// |z|² - 1 from exact squares; on the imaginary axis (+0, atanh(-1/y)) from -y itself. False
// leaves the value to atan(reciprocal(z)) (the real axis, where atan(1/x) is well conditioned).
bool arccotangentFromZ(double x, double y, Complex& result) {
    if (!std::isfinite(x) || !std::isfinite(y) || isZero(y)) return false;
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (ax > largePart || ay > largePart) return false;
    if (isZero(x)) {
        result = {+0.0, inverseHyperbolicCotangentOfReal(-y)};
        return true;
    }
    const double realPart = 0.5 * real::atan2(x + x, -oneMinusSquaredModulus(ax, ay));
    result = {realPart, std::copysign(arctangentImaginaryPart(ax, ay), -y)};
    return true;
}

// asec(x + iy) formed from z, as acsc: acos(1/x) on the real axis, and off the axes the
// arccosine of 1/z from its unit distances: (acos B or π - acos B by the sign of x, acosh A
// with the sign of y).
bool arcsecantFromZ(double x, double y, Complex& result) {
    if (!std::isfinite(x) || !std::isfinite(y) || isZero(x)) return false;
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (isZero(y)) {
        if (ax > largePart) return false;
        result = {arcsecantOfReal(x), -0.0};
        return true;
    }
    if (!inReciprocalRange(ax, ay)) return false;
    const UnitDistances d = reciprocalUnitDistances(ax, ay);
    const double angle = arccosineOfB(d);
    result = {x > 0.0 ? angle : (pi.high - angle) + pi.low, (y > 0.0 ? 1.0 : -1.0) * inverseCoshOfA(d)};
    return true;
}

// asech(x + iy) formed from z: acosh(1/x) on the real axis, and off the axes (acosh A,
// ±acos B or ±(π - acos B)) of 1/z, the sign that of -y.
bool inverseHyperbolicSecantFromZ(double x, double y, Complex& result) {
    if (!std::isfinite(x) || !std::isfinite(y) || isZero(x)) return false;
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (isZero(y)) {
        if (ax > largePart || ax < smallestReciprocalPart) return false;
        result = {inverseHyperbolicSecantOfReal(x), +0.0};
        return true;
    }
    if (!inReciprocalRange(ax, ay)) return false;
    const UnitDistances d = reciprocalUnitDistances(ax, ay);
    const double angle = arccosineOfB(d);
    result = {inverseCoshOfA(d), std::copysign(x > 0.0 ? angle : (pi.high - angle) + pi.low, -y)};
    return true;
}

}  // namespace

// asin z: (asin x, +0) on the real axis, (+0, asinh y) on the imaginary axis, else the
// principal value with the real part's sign from x and the imaginary part's from y.
Complex arcsine(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) return {realArcsine(x), +0.0};
    if (isZero(x)) return {+0.0, real::asinh(y)};  // ln(y + sqrt(y² + 1)), odd in y
    if (std::isnan(x) || std::isnan(y)) return nanPairFrom(z);
    const Complex first = firstQuadrantArcsine(std::fabs(x), std::fabs(y));
    const double s = y > 0.0 ? 1.0 : -1.0;
    return {std::copysign(first.re, x), s * first.im};
}

// atan z: (atan x, +0) on the real axis, (+0, atanh y) on the imaginary axis, else
// (½ atan2(2x, 1 - |z|²), Im) with Im from arctangentImaginaryPart and the sign of y.
Complex arctangent(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) return {real::atan2(x, 1.0), +0.0};
    if (isZero(x)) return {+0.0, realInverseHyperbolicTangent(y)};
    if (std::isnan(x) || std::isnan(y)) return nanPairFrom(z);
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (ax > largePart || ay > largePart) {  // atan z = ±π/2 - 1/z + O(z^-3): (±π/2, y/|z|²)
        const double imaginary = std::isinf(ax) || std::isinf(ay) ? 0.0 : (ay / real::hypot(x, y)) / real::hypot(x, y);
        return {std::copysign(halfPi.high, x), std::copysign(imaginary, y)};
    }
    const double realPart = 0.5 * real::atan2(x + x, oneMinusSquaredModulus(ax, ay));
    return {realPart, std::copysign(arctangentImaginaryPart(ax, ay), y)};
}

// acosh z: (acosh x, +0) on the real axis; for Re z > 0 (acosh A, ±acos B) by the sign
// of y; for Re z <= 0 the principal value (acosh A, ±(π - acos B)).
Complex inverseHyperbolicCosine(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) return {realInverseHyperbolicCosine(x), +0.0};
    if (std::isnan(x) || std::isnan(y)) return nanPairFrom(z);
    const Complex first = firstQuadrantArccosine(std::fabs(x), std::fabs(y));
    if (x > 0.0) return {first.im, std::copysign(first.re, y)};
    return {first.im, std::copysign((pi.high - first.re) + pi.low, y)};  // acos(-B) = π - acos B
}

// acos z. Where Re acos z < π/4, right of the hyperbola x² - y² = 1/2, π/2 - asin z would
// cancel; there acos z = 2 asin(sqrt((1 - z)/2)), where 1 - z is exact near z = 1 and the
// square root keeps Re w² < 1/2, away from asin's branch points. Elsewhere acos z =
// π/2 - asin z, which loses at most one bit, and which keeps the real axis beyond ±1 as
// asin makes it: (NaN, -0). On the real axis the result is (acos x, -0).
Complex arccosine(Complex z) {
    const double x = z.re, y = z.im;
    const bool subtractionWouldCancel = x > 0.0 && (x - std::fabs(y)) * (x + std::fabs(y)) > 0.5;
    if (subtractionWouldCancel && !(isZero(y) && x > 1.0)) {
        const Complex half = arcsine(squareRootOfHalfComplement(x, y));
        return {2.0 * half.re, isZero(y) ? -0.0 : 2.0 * half.im};
    }
    const Complex a = arcsine(z);
    return {(halfPi.high - a.re) + halfPi.low, -a.im};
}

// asinh z = -i asin(iz)
Complex inverseHyperbolicSine(Complex z) {
    const Complex a = arcsine({-z.im, z.re});
    return {a.im, -a.re};
}

// atanh z = -i atan(iz)
Complex inverseHyperbolicTangent(Complex z) {
    const Complex a = arctangent({-z.im, z.re});
    return {a.im, -a.re};
}

// The six reciprocal functions are the inner function of 1/z. Next to the branch points
// (z = ±1 for asec, acsc, asech and acoth, z = ±i for acot and acsch) the rounding of 1/z to
// doubles would move the result by far more than an ulp, so they are formed from z itself
// where it matters (the *FromZ helpers above); elsewhere the rounded reciprocal is used.
// acsch z = asinh(1/z) = -i acsc(-iz) and acoth z = atanh(1/z) = -i acot(-iz).

namespace {

using FromZ = bool (*)(double x, double y, Complex& result);
using Inner = Complex (*)(Complex);

// f(z) = inner(1/z): from z itself where fromZ takes it, else from the rounded reciprocal.
template <FromZ fromZ, Inner inner>
Complex ofReciprocal(Complex z) {
    Complex result;
    if (fromZ(z.re, z.im, result)) return result;
    return inner(reciprocal(z));
}

// The same for the hyperbolic ones, f(z) = -i g(-iz) with g = fromZ next to the branch points.
template <FromZ fromZ, Inner inner>
Complex ofReciprocalRotated(Complex z) {
    Complex a;
    if (fromZ(z.im, -z.re, a)) return {a.im, -a.re};
    return inner(reciprocal(z));
}

}  // namespace

// asec z = acos(1/z)
Complex arcsecant(Complex z) { return ofReciprocal<arcsecantFromZ, arccosine>(z); }
// acsc z = asin(1/z)
Complex arccosecant(Complex z) { return ofReciprocal<arccosecantFromZ, arcsine>(z); }
// acot z = atan(1/z)
Complex arccotangent(Complex z) { return ofReciprocal<arccotangentFromZ, arctangent>(z); }
// asech z = acosh(1/z)
Complex inverseHyperbolicSecant(Complex z) { return ofReciprocal<inverseHyperbolicSecantFromZ, inverseHyperbolicCosine>(z); }
// acsch z = asinh(1/z) = -i acsc(-iz)
Complex inverseHyperbolicCosecant(Complex z) { return ofReciprocalRotated<arccosecantFromZ, inverseHyperbolicSine>(z); }
// acoth z = atanh(1/z) = -i acot(-iz)
Complex inverseHyperbolicCotangent(Complex z) {
    return ofReciprocalRotated<arccotangentFromZ, inverseHyperbolicTangent>(z);
}

}  // namespace kx
