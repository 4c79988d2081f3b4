// The inverse circular and hyperbolic functions, each part correctly rounded.
//
// asin, atan and acosh are computed directly, each with a branch for the real axis, a
// branch for the imaginary axis and a general branch, tested in that order (a part is
// zero when it equals 0 of either sign; NaN is not zero). On the axes they are the real
// functions, with no complex value formed on a cut:
//   asin(x + 0i) = (asin x, +0), NaN real part for |x| > 1;  asin(0 + iy) = (+0, asinh y);
//   atan(x + 0i) = (atan x, +0);  atan(0 + iy) = (+0, atanh y), NaN for |y| > 1, ±inf at ±i;
//   acosh(x + 0i) = (acosh x, +0), NaN real part for x < 1;  acosh(0 + iy) = (asinh|y|, ±π/2).
// Off the axes they are the principal values: asin and acos with cuts (-inf, -1] and
// [1, inf), atan with cuts on the imaginary axis beyond ±i, acosh with its cut (-inf, 1].
// acos z = π/2 - asin z on the axes ((acos x, -0) on the real axis), asinh z = -i asin(iz),
// atanh z = -i atan(iz).
//
// Off the axes the parts come from the formulas of inverse_formulas.h: Hull, Fairgrieve and
// Tang's ("Implementing the complex arcsine and arccosine functions using exception
// handling", ACM TOMS 23(3), 1997) for asin, acos and acosh, Kahan's ("Branch cuts for
// complex elementary functions, or much ado about nothing's sign bit", 1987) for atan, each
// from the first quadrant with the signs given here. The six reciprocal functions are the
// inner function of w = 1/z with every quantity formed from z itself, since next to the
// branch points an error of half an ulp in a rounded 1/z would move the result by about
// sqrt(ulp); acsch z = -i acsc(-iz) and acoth z = -i acot(-iz). On the axes they are the
// real functions of 1/t formed from t (acos(1/t) = atan2(sqrt(t² - 1), 1), ...).
//
// Correct rounding (correctly_rounded.h): each formula is evaluated on double-double balls,
// and a part whose ball rounds to one double is that double; the rest are evaluated again on
// multiprecision balls: parts within about 2^-64 of their size of a rounding boundary (the
// fast kernels' bound, 2^-65, dominates the radii: about one ordinary call in 1000), and
// parts below 2^-1021 or underflowing to zero (the balls' floor for underflow, 2^-1070 an
// operation, is too wide there). A part that is exactly zero (the axes) or an exact double
// (acosh 1 = 0, acos(1/1) = 0) is written before any rounding, and atanh t rounds to t for
// |t| <= 2^-27 (t³/3 is below half an ulp).
//
// Infinite and NaN parts give the limits and NaN parts of the formulas' plain evaluations:
// asin(inf + i) = π/2 + inf i, atan(x + inf i) = ±π/2 + 0i, a NaN part off the axes NaN
// parts; the reciprocal functions of an infinite or zero z are the inner function of
// reciprocal(z).
#include "complex/inverse.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "complex/circular.h"
#include "complex/correctly_rounded.h"
#include "complex/inverse_formulas.h"
#include "real/hypot.h"
#include "real/inverse_circular.h"
#include "real/inverse_hyperbolic.h"
#include "real/log.h"
#include "real/tables.h"

namespace kx {
namespace {

using real::tables::halfPi;
using real::tables::pi;
using real::tables::quarterPi;
constexpr double infinity = std::numeric_limits<double>::infinity();

// Below this magnitude atanh t rounds to t.
constexpr double identityBound = 0x1p-27;

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

// The sign of a part: +1 or -1.
double signOf(double value) { return std::signbit(value) ? -1.0 : 1.0; }

template <class Number>
Number timesSign(const Number& a, double sign) {
    return sign < 0.0 ? -a : a;
}

// --- The real functions of the axes --------------------------------------------------------

// atanh y: ±inf at ±1, the default NaN for |y| > 1.
double realInverseHyperbolicTangent(double y) {
    const double t = std::fabs(y);
    if (t > 1.0) return defaultNaN;
    if (t == 1.0) return std::copysign(infinity, y);
    if (std::isnan(t)) return std::copysign(0.5 * real::log1p((t + t) / (1.0 - t)), y);
    if (t <= identityBound) return y;  // ±0 and subnormals included
    const double magnitude =
        correctlyRoundedValue([&](const auto& kind) { return inverse::inverseHyperbolicTangentOf(kind, t); });
    return std::copysign(magnitude, y);
}

// acos(1/x) for real x, |x| >= 1; the default NaN for |x| < 1.
double arcsecantOfReal(double x) {
    const double t = std::fabs(x);
    if (t < 1.0) return defaultNaN;
    if (t == 1.0) return x > 0.0 ? +0.0 : pi.high;
    return correctlyRoundedValue([&](const auto& kind) {
        const auto angle = inverse::arcsecantOf(kind, t);
        return x > 0.0 ? angle : kind.pi() - angle;
    });
}

// asin(1/x) for real x, |x| >= 1; the default NaN for |x| < 1.
double arccosecantOfReal(double x) {
    const double t = std::fabs(x);
    if (t < 1.0) return defaultNaN;
    if (t == 1.0) return std::copysign(halfPi.high, x);
    return std::copysign(correctlyRoundedValue([&](const auto& kind) { return inverse::arccosecantOf(kind, t); }), x);
}

// atan(1/x) for real x.
double arccotangentOfReal(double x) { return std::copysign(real::atan2(1.0, std::fabs(x)), x); }

// acosh(1/x) for 0 < x <= 1; the default NaN elsewhere, where 1/x < 1.
double inverseHyperbolicSecantOfReal(double x) {
    if (!(x > 0.0 && x <= 1.0)) return defaultNaN;
    if (x == 1.0) return +0.0;
    return correctlyRoundedValue([&](const auto& kind) { return inverse::inverseHyperbolicSecantOf(kind, x); });
}

// atanh(1/t): ±inf at ±1, the default NaN for |t| < 1.
double inverseHyperbolicCotangentOfReal(double t) {
    const double a = std::fabs(t);
    if (a < 1.0) return defaultNaN;
    if (a == 1.0) return std::copysign(infinity, t);
    return std::copysign(correctlyRoundedValue([&](const auto& kind) { return inverse::inverseHyperbolicCotangentOf(kind, a); }), t);
}

// asinh(1/t) for t not zero, finite.
double inverseHyperbolicSineOfReciprocal(double t) {
    const double a = std::fabs(t);
    return std::copysign(correctlyRoundedValue([&](const auto& kind) { return inverse::inverseHyperbolicSineOfReciprocal(kind, a); }), t);
}

// --- Off the axes: finite x and y, both non-zero -------------------------------------------

enum class ArcsineFamily { arcsine, arccosine, inverseHyperbolicCosine };

// asin, acos or acosh of x + iy, or (reciprocal) of its reciprocal, as part balls of the kind.
template <class Kind>
PartBalls<typename Kind::Number> arcsineFamily(const Kind& kind, double x, double y, ArcsineFamily family, bool reciprocal) {
    const double ax = std::fabs(x), ay = std::fabs(y);
    const auto distancesOn = [&](const auto& k) {
        return reciprocal ? inverse::reciprocalDistances(k, ax, ay) : inverse::directDistances(k, ax, ay);
    };
    const auto fast = distancesOn(real::DoubleDoubleBallKind{});
    const inverse::ArcsinePlan plan = inverse::arcsinePlan(fast);
    const auto parts = [&] {
        if constexpr (std::is_same_v<Kind, real::DoubleDoubleBallKind>)
            return inverse::hullFairgrieveTang(kind, fast, plan, family == ArcsineFamily::arcsine);
        else
            return inverse::hullFairgrieveTang(kind, distancesOn(kind), plan, family == ArcsineFamily::arcsine);
    }();
    // The signs: Re w has the sign of x, Im w that of -y.
    const double reSign = signOf(x), imSign = reciprocal ? -signOf(y) : signOf(y);
    switch (family) {
        case ArcsineFamily::arcsine: return {timesSign(parts.angle, reSign), timesSign(parts.inverseCoshOfA, imSign)};
        case ArcsineFamily::arccosine: {
            const auto angle = reSign > 0.0 ? parts.angle : kind.pi() - parts.angle;  // acos(-B) = π - acos B
            return {angle, timesSign(parts.inverseCoshOfA, -imSign)};
        }
        default: {
            const auto angle = reSign > 0.0 ? parts.angle : kind.pi() - parts.angle;
            return {parts.inverseCoshOfA, timesSign(angle, imSign)};
        }
    }
}

// atan or acot of x + iy.
template <class Kind>
PartBalls<typename Kind::Number> arctangentFamily(const Kind& kind, double x, double y, bool cotangent) {
    const auto parts = inverse::kahanArctangent(kind, std::fabs(x), std::fabs(y), cotangent);
    const double imSign = cotangent ? -signOf(y) : signOf(y);
    return {timesSign(kind.scaled(parts.twiceReal, -1), signOf(x)), timesSign(parts.imaginary, imSign)};
}

Complex arcsineFamilyRounded(double x, double y, ArcsineFamily family, bool reciprocal) {
    return correctlyRoundedParts([&](const auto& kind) { return arcsineFamily(kind, x, y, family, reciprocal); });
}

Complex arctangentFamilyRounded(double x, double y, bool cotangent) {
    return correctlyRoundedParts([&](const auto& kind) { return arctangentFamily(kind, x, y, cotangent); });
}

bool finite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

// --- The limits at infinite parts ------------------------------------------------------------

// asin of x + iy with an infinite part and no NaN: (atan2(|x|, |y|), inf) with the signs.
Complex arcsineLimit(double x, double y) {
    return {std::copysign(real::atan2(std::fabs(x), std::fabs(y)), x), y > 0.0 ? infinity : -infinity};
}

}  // namespace

// asin z: (asin x, +0) on the real axis, (+0, asinh y) on the imaginary axis, else the
// principal value with the real part's sign from x and the imaginary part's from y.
Complex arcsine(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) return {realArcsine(x), +0.0};
    if (isZero(x)) return {+0.0, real::asinh(y)};  // ln(y + sqrt(y² + 1)), odd in y
    if (std::isnan(x) || std::isnan(y)) return nanPairFrom(z);
    if (!finite(z)) return arcsineLimit(x, y);
    return arcsineFamilyRounded(x, y, ArcsineFamily::arcsine, false);
}

// atan z: (atan x, +0) on the real axis, (+0, atanh y) on the imaginary axis, else the
// principal value; (±π/2, ±0) for an infinite part.
Complex arctangent(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) return {real::atan2(x, 1.0), +0.0};
    if (isZero(x)) return {+0.0, realInverseHyperbolicTangent(y)};
    if (std::isnan(x) || std::isnan(y)) return nanPairFrom(z);
    if (!finite(z)) return {std::copysign(halfPi.high, x), std::copysign(0.0, y)};
    return arctangentFamilyRounded(x, y, false);
}

// acosh z: (acosh x, +0) on the real axis; for Re z > 0 (acosh A, ±acos B) by the sign
// of y; for Re z <= 0 the principal value (acosh A, ±(π - acos B)).
Complex inverseHyperbolicCosine(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) return {realInverseHyperbolicCosine(x), +0.0};
    if (std::isnan(x) || std::isnan(y)) return nanPairFrom(z);
    if (!finite(z)) return {infinity, std::copysign(real::atan2(std::fabs(y), x), y)};  // the angle of z, y >= 0
    if (isZero(x)) return {real::asinh(std::fabs(y)), std::copysign(halfPi.high, y)};
    return arcsineFamilyRounded(x, y, ArcsineFamily::inverseHyperbolicCosine, false);
}

// acos z: (acos x, -0) on the real axis (NaN beyond ±1), (π/2, -asinh y) on the imaginary
// axis, else the principal value (acos B or π - acos B, ∓acosh A).
Complex arccosine(Complex z) {
    const double x = z.re, y = z.im;
    if (isZero(y)) {
        if (std::fabs(x) <= 1.0) return {real::acos(x), -0.0};
        return {(halfPi.high - realArcsine(x)) + halfPi.low, -0.0};  // NaN
    }
    if (isZero(x)) return {halfPi.high, -real::asinh(y)};
    if (std::isnan(x) || std::isnan(y)) {
        const Complex a = nanPairFrom(z);
        return {(halfPi.high - a.re) + halfPi.low, -a.im};
    }
    if (!finite(z)) return {real::atan2(std::fabs(y), x), y > 0.0 ? -infinity : infinity};  // the angle of z, y >= 0
    return arcsineFamilyRounded(x, y, ArcsineFamily::arccosine, false);
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

// The six reciprocal functions: for a finite non-zero z from z itself (the axes by the real
// functions of 1/t), else the inner function of reciprocal(z).

// asec z = acos(1/z)
Complex arcsecant(Complex z) {
    const double x = z.re, y = z.im;
    if (!finite(z) || (isZero(x) && isZero(y))) return arccosine(reciprocal(z));
    if (isZero(y)) return {arcsecantOfReal(x), -0.0};
    if (isZero(x)) return {halfPi.high, inverseHyperbolicSineOfReciprocal(y)};
    return arcsineFamilyRounded(x, y, ArcsineFamily::arccosine, true);
}

// acsc z = asin(1/z)
Complex arccosecant(Complex z) {
    const double x = z.re, y = z.im;
    if (!finite(z) || (isZero(x) && isZero(y))) return arcsine(reciprocal(z));
    if (isZero(y)) return {arccosecantOfReal(x), +0.0};
    if (isZero(x)) return {+0.0, -inverseHyperbolicSineOfReciprocal(y)};
    return arcsineFamilyRounded(x, y, ArcsineFamily::arcsine, true);
}

// acot z = atan(1/z), from z: (½ atan2(2x, |z|² - 1), -Im atan z).
Complex arccotangent(Complex z) {
    const double x = z.re, y = z.im;
    if (!finite(z) || (isZero(x) && isZero(y))) return arctangent(reciprocal(z));
    if (isZero(y)) return {arccotangentOfReal(x), +0.0};
    if (isZero(x)) return {+0.0, inverseHyperbolicCotangentOfReal(-y)};
    return arctangentFamilyRounded(x, y, true);
}

// asech z = acosh(1/z)
Complex inverseHyperbolicSecant(Complex z) {
    const double x = z.re, y = z.im;
    if (!finite(z) || (isZero(x) && isZero(y))) return inverseHyperbolicCosine(reciprocal(z));
    if (isZero(y)) return {inverseHyperbolicSecantOfReal(x), +0.0};
    if (isZero(x)) return {inverseHyperbolicSineOfReciprocal(std::fabs(y)), std::copysign(halfPi.high, -y)};
    return arcsineFamilyRounded(x, y, ArcsineFamily::inverseHyperbolicCosine, true);
}

// acsch z = asinh(1/z) = -i acsc(-iz)
Complex inverseHyperbolicCosecant(Complex z) {
    const double x = z.re, y = z.im;
    if (!finite(z) || (isZero(x) && isZero(y))) return inverseHyperbolicSine(reciprocal(z));
    if (isZero(y)) return {inverseHyperbolicSineOfReciprocal(x), -0.0};
    if (isZero(x)) return {+0.0, -arccosecantOfReal(y)};
    const Complex a = arcsineFamilyRounded(y, -x, ArcsineFamily::arcsine, true);
    return {a.im, -a.re};
}

// acoth z = atanh(1/z) = -i acot(-iz)
Complex inverseHyperbolicCotangent(Complex z) {
    const double x = z.re, y = z.im;
    if (!finite(z) || (isZero(x) && isZero(y))) return inverseHyperbolicTangent(reciprocal(z));
    if (isZero(y)) return {inverseHyperbolicCotangentOfReal(x), -0.0};
    if (isZero(x)) return {+0.0, -arccotangentOfReal(y)};
    const Complex a = arctangentFamilyRounded(y, -x, true);
    return {a.im, -a.re};
}

}  // namespace kx
