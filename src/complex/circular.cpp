// The circular and hyperbolic functions, their quotients and their reciprocals.
//
//   sin(x + iy)  = (sin x·cosh y,  cos x·sinh y)      cos(x + iy)  = (cos x·cosh y, -sin x·sinh y)
//   sinh(x + iy) = (cos y·sinh x,  sin y·cosh x)      cosh(x + iy) = (cos y·cosh x,  sin y·sinh x)
//
// Each part is one scaled hyperbolic product (hyperbolic_products.h), so a part overflows
// only when it is itself beyond the double range: sin(1 + 710.5i) is finite although
// sinh 710.5 alone is not (sin(0 + 710.5i) = i·sinh 710.5 does overflow). The real
// sine and cosine are each evaluated once per call.
//
// tan, cot, tanh and coth. With s = sinh x, c = cosh x, S = sin y, C = cos y, multiplying
// numerator and divisor by the conjugate of the divisor gives a positive divisor:
//   tanh(x + iy) = (s·c + i·S·C) / (s² + C²)      coth(x + iy) = (s·c - i·S·C) / (s² + S²)
// since |cosh z|² = c²C² + s²S² = s² + C² (c² = 1 + s², S² + C² = 1) and |sinh z|² = s² + S²,
// and sinh z·conj(cosh z) = s·c(C² + S²) + i·S·C(c² - s²); tan and cot are the same with the
// roles of the parts exchanged (tan z = -i tanh(iz)):
//   tan(x + iy)  = (S·C + i·s·c) / (C² + s²)      cot(x + iy)  = (S·C - i·s·c) / (S² + s²)
// with S, C of x and s, c of y. Each part is one product over a sum of two squares: no
// cancellation anywhere, also next to the poles, where the divisor is small but formed from
// squares of accurately rounded small values. The products and squares are exact
// (two-products), the sum and the two quotients are done in double-double, and each part is
// rounded once. If s, c, S, C each carry a relative error below e (2^-53 and a hair: the real
// sine and cosine and the scaled products are within half an ulp), a part's relative error
// before its rounding is at most 4e + 2^-100: e for each factor of its product and 2e for the
// divisor (a weighted mean of two squares, each off by 2e); with the final rounding at most 5e,
// which is below half a unit of the 15th significant digit (at least 4.5e) but in the rarest
// alignments of all four roundings. The reference tables see at most 3 ulp (2.8e).
//
// Far out, |Re z| > 22 (tanh, coth) or |Im z| > 22 (tan, cot), e^-2|.| < 2^-63 and
//   tanh(x + iy) = (sign x, 4 S C·e^-2|x|),   coth(x + iy) = (sign x, -4 S C·e^-2|x|)
//   tan(x + iy)  = (4 S C·e^-2|y|, sign y),   cot(x + iy)  = (4 S C·e^-2|y|, -sign y)
// with S, C of the other part: the large part is ±1 correctly rounded (it differs from ±1 by
// at most 2e^-2|.|, below a quarter ulp), the small part is off by the factors' roundings and
// 4e^-2|.| < 2^-61 relative. These forms also keep the division from overflowing (squares
// of s or c overflow beyond 355).
//
// On the real and the imaginary axis a quotient is a real quotient (tanh x = sinh x/cosh x,
// tanh iy = i·sin y/cos y), accurate as it is: there the direct functions are divided with
// the quotient of "/", whose signs of zero parts later functions see (the branch of ln, of
// sqrt), and beyond |.| = 709 the forms above are used with a +0 small part.
// The reciprocal functions do the same with 1/w ~ 2e^-|.|·conj(unit direction of w).
// Infinite or NaN arguments are not limiting cases: they keep the division's NaN pair.
//
// Signs of zeros: a real argument gives sin an imaginary part of +0 and cos one of -0; an
// imaginary argument gives sinh a real part of +0 and cosh an imaginary part of +0.
//
// Accuracy against mpmath (tests/reference/circular.txt, about 4000 points up to and past
// the overflow thresholds, and a random sweep, tests/reference/sweep_functions.py): every
// part of every function within 3 ulp of its own true value; sin, cos, sinh, cosh within
// 1 ulp. Off the axes the reciprocal functions are quotients of the same kind:
//   sec z = (C·c + i·S·s)/(C² + s²), csc z = (S·c - i·C·s)/(S² + s²) (S, C of x; s, c of y),
//   sech z = (c·C - i·s·S)/(s² + C²), csch z = (s·C - i·c·S)/(s² + S²) (s, c of x; S, C of y),
// with the same bounds, and on the axes the reciprocal of the direct function.
#include "complex/circular.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "complex/arithmetic.h"
#include "complex/exact_arithmetic.h"
#include "complex/hyperbolic_products.h"
#include "complex/real_functions.h"

namespace kx {
namespace {

// Beyond this |growing part| the quotients take their far forms: e^-44 < 2^-63.
constexpr double farQuotientArgument = 22.0;

// Below this size of both divisor terms their squares near the underflow threshold; poleScale brings them back.
constexpr double tinyDivisorTerm = 0x1p-450;
constexpr double poleScale = 0x1p+600;

// Parts above this may overflow the sums of two parts inside the division (|d| <= 2·max).
constexpr double divisionSafeBound = std::numeric_limits<double>::max() / 4;

bool isZero(double value) { return value == 0.0; }  // 0 == -0; NaN is not zero

bool isFinite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

double largestPart(Complex z) { return std::max(std::fabs(z.re), std::fabs(z.im)); }

// True when dividing by (or into) these values could overflow inside the division.
bool mayOverflowInDivision(Complex numerator, Complex divisor) {
    return largestPart(numerator) > divisionSafeBound || largestPart(divisor) > divisionSafeBound;
}

using real::SineCosine;

// The library's own sine and cosine, so every platform gives the same parts.
SineCosine sineCosine(double angle) { return real::sinCos(angle); }

// The direct functions from the real sine and cosine of the other part, held as doubles.
Complex sineOf(double y, SineCosine cx) { return {scaledCosh(y, cx.sine), scaledSinh(y, cx.cosine)}; }
Complex cosineOf(double y, SineCosine cx) { return {scaledCosh(y, cx.cosine), -scaledSinh(y, cx.sine)}; }
Complex hyperbolicSineOf(double x, SineCosine cy) { return {scaledSinh(x, cy.cosine), scaledCosh(x, cy.sine)}; }
Complex hyperbolicCosineOf(double x, SineCosine cy) { return {scaledCosh(x, cy.cosine), scaledSinh(x, cy.sine)}; }

// ±4 sin t cos t·e^-2|a|: the small part of tanh, coth, tan and cot far from the real or
// imaginary axis. A zero comes out +0, as the division gives it next to the limiting region.
double farSmallPart(double a, SineCosine ct, double sign) {
    return exponentialProduct(-2.0 * std::fabs(a), sign * 4.0 * ct.sine * ct.cosine) + 0.0;
}

// 2e^-|a|·b: the parts of sech, csch, sec and csc far from the axis.
double farReciprocalPart(double a, double b) { return exponentialProduct(-std::fabs(a), 2.0 * b); }

double signOf(double value) { return std::copysign(1.0, value); }

// An argument off both axes with finite parts: the quotients take their own formulas there.
bool offTheAxes(Complex z) { return isFinite(z) && !isZero(z.re) && !isZero(z.im); }

// (a·b + i·sign·c·d) / (e² + f²), each part rounded once from double-double (see the header).
// Next to the pole of cot and coth at 0 both terms of the divisor are tiny and their squares
// would underflow: the divisor's terms and the numerator are scaled by 2^600 (exactly), and the
// quotients, 2^-600 of the true ones, scaled back.
Complex quotientOfProducts(double a, double b, double c, double d, double sign, double e, double f) {
    if (std::fmax(std::fabs(e), std::fabs(f)) < tinyDivisorTerm) {
        const Complex scaled = quotientOfProducts(a * poleScale, b, c * poleScale, d, sign, e * poleScale, f * poleScale);
        return {scaled.re * poleScale, scaled.im * poleScale};
    }
    const DoubleDouble divisor = ddAdd(twoProduct(e, e), twoProduct(f, f));
    const DoubleDouble imaginary = twoProduct(sign * c, d);
    return {rounded(ddDivide(twoProduct(a, b), divisor)), rounded(ddDivide(imaginary, divisor))};
}

// The quotient far out: the growing part (of the hyperbolic sine and cosine) beyond farQuotientArgument.
bool isFarOut(double growing) { return std::fabs(growing) > farQuotientArgument; }

}  // namespace

Complex reciprocal(Complex w) {
    const double u = w.re, v = w.im;
    if (std::isnan(u) || std::isnan(v)) return defaultNaNPair;
    if (std::fabs(v) < std::fabs(u)) {
        const double r = v / u;
        const double d = u + r * v;
        if (std::isnan(d) || isZero(d)) return defaultNaNPair;
        return {1.0 / d, (-r) / d};
    }
    if (isZero(v)) return defaultNaNPair;  // |u| <= |v| = 0: w is zero
    const double r = u / v;
    const double d = v + r * u;
    if (std::isnan(d) || isZero(d)) return defaultNaNPair;
    return {r / d, (-1.0) / d};
}

Complex sine(Complex z) { return sineOf(z.im, sineCosine(z.re)); }

Complex cosine(Complex z) { return cosineOf(z.im, sineCosine(z.re)); }

Complex hyperbolicSine(Complex z) { return hyperbolicSineOf(z.re, sineCosine(z.im)); }

Complex hyperbolicCosine(Complex z) { return hyperbolicCosineOf(z.re, sineCosine(z.im)); }

// tan z = sin z / cos z
Complex tangent(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    if (offTheAxes(z)) {
        if (isFarOut(z.im)) return {farSmallPart(z.im, cx, 1.0), signOf(z.im)};
        const double s = scaledSinh(z.im, 1.0), c = scaledCosh(z.im, 1.0);
        return quotientOfProducts(cx.sine, cx.cosine, s, c, 1.0, cx.cosine, s);
    }
    const Complex numerator = sineOf(z.im, cx), divisor = cosineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |y| > 709
        return {farSmallPart(z.im, cx, 1.0), signOf(z.im)};
    return divide(numerator, divisor);
}

// cot z = cos z / sin z
Complex cotangent(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    if (offTheAxes(z)) {
        if (isFarOut(z.im)) return {farSmallPart(z.im, cx, 1.0), -signOf(z.im)};
        const double s = scaledSinh(z.im, 1.0), c = scaledCosh(z.im, 1.0);
        return quotientOfProducts(cx.sine, cx.cosine, s, c, -1.0, cx.sine, s);
    }
    const Complex numerator = cosineOf(z.im, cx), divisor = sineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |y| > 709
        return {farSmallPart(z.im, cx, 1.0), -signOf(z.im)};
    return divide(numerator, divisor);
}

// tanh z = sinh z / cosh z
Complex hyperbolicTangent(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    if (offTheAxes(z)) {
        if (isFarOut(z.re)) return {signOf(z.re), farSmallPart(z.re, cy, 1.0)};
        const double s = scaledSinh(z.re, 1.0), c = scaledCosh(z.re, 1.0);
        return quotientOfProducts(s, c, cy.sine, cy.cosine, 1.0, s, cy.cosine);
    }
    const Complex numerator = hyperbolicSineOf(z.re, cy), divisor = hyperbolicCosineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |x| > 709
        return {signOf(z.re), farSmallPart(z.re, cy, 1.0)};
    return divide(numerator, divisor);
}

// coth z = cosh z / sinh z
Complex hyperbolicCotangent(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    if (offTheAxes(z)) {
        if (isFarOut(z.re)) return {signOf(z.re), farSmallPart(z.re, cy, -1.0)};
        const double s = scaledSinh(z.re, 1.0), c = scaledCosh(z.re, 1.0);
        return quotientOfProducts(s, c, cy.sine, cy.cosine, -1.0, s, cy.sine);
    }
    const Complex numerator = hyperbolicCosineOf(z.re, cy), divisor = hyperbolicSineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |x| > 709
        return {signOf(z.re), farSmallPart(z.re, cy, -1.0)};
    return divide(numerator, divisor);
}

// sec z = 1/cos z = (C·c + i·S·s)/(C² + s²); far from the real axis cos z ~ (e^|y|/2)(cos x, -sign y·sin x).
Complex secant(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    if (offTheAxes(z) && isFarOut(z.im))
        return {farReciprocalPart(z.im, cx.cosine), farReciprocalPart(z.im, signOf(z.im) * cx.sine)};
    if (offTheAxes(z)) {
        const double s = scaledSinh(z.im, 1.0), c = scaledCosh(z.im, 1.0);
        return quotientOfProducts(cx.cosine, c, cx.sine, s, 1.0, cx.cosine, s);
    }
    const Complex divisor = cosineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.im, cx.cosine), farReciprocalPart(z.im, signOf(z.im) * cx.sine)};
    return reciprocal(divisor);
}

// csc z = 1/sin z = (S·c - i·C·s)/(S² + s²); far from the real axis sin z ~ (e^|y|/2)(sin x, sign y·cos x).
Complex cosecant(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    if (offTheAxes(z) && isFarOut(z.im))
        return {farReciprocalPart(z.im, cx.sine), farReciprocalPart(z.im, -signOf(z.im) * cx.cosine)};
    if (offTheAxes(z)) {
        const double s = scaledSinh(z.im, 1.0), c = scaledCosh(z.im, 1.0);
        return quotientOfProducts(cx.sine, c, cx.cosine, s, -1.0, cx.sine, s);
    }
    const Complex divisor = sineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.im, cx.sine), farReciprocalPart(z.im, -signOf(z.im) * cx.cosine)};
    return reciprocal(divisor);
}

// sech z = 1/cosh z = (c·C - i·s·S)/(s² + C²); far from the imaginary axis cosh z ~ (e^|x|/2)(cos y, sign x·sin y).
Complex hyperbolicSecant(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    if (offTheAxes(z) && isFarOut(z.re))
        return {farReciprocalPart(z.re, cy.cosine), farReciprocalPart(z.re, -signOf(z.re) * cy.sine)};
    if (offTheAxes(z)) {
        const double s = scaledSinh(z.re, 1.0), c = scaledCosh(z.re, 1.0);
        return quotientOfProducts(c, cy.cosine, s, cy.sine, -1.0, s, cy.cosine);
    }
    const Complex divisor = hyperbolicCosineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.re, cy.cosine), farReciprocalPart(z.re, -signOf(z.re) * cy.sine)};
    return reciprocal(divisor);
}

// csch z = 1/sinh z = (s·C - i·c·S)/(s² + S²); far from the imaginary axis sinh z ~ (e^|x|/2)(sign x·cos y, sin y).
Complex hyperbolicCosecant(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    if (offTheAxes(z) && isFarOut(z.re))
        return {farReciprocalPart(z.re, signOf(z.re) * cy.cosine), farReciprocalPart(z.re, -cy.sine)};
    if (offTheAxes(z)) {
        const double s = scaledSinh(z.re, 1.0), c = scaledCosh(z.re, 1.0);
        return quotientOfProducts(s, cy.cosine, c, cy.sine, -1.0, s, cy.sine);
    }
    const Complex divisor = hyperbolicSineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.re, signOf(z.re) * cy.cosine), farReciprocalPart(z.re, -cy.sine)};
    return reciprocal(divisor);
}

std::span<const TableEntry> circularFunctionEntries() {
    static constexpr std::array entries{
        prefixEntry("sin", sine),
        prefixEntry("cos", cosine),
        prefixEntry("tan", tangent),
        prefixEntry("sec", secant),
        prefixEntry("csc", cosecant),
        prefixEntry("cot", cotangent),
        prefixEntry("sinh", hyperbolicSine),
        prefixEntry("cosh", hyperbolicCosine),
        prefixEntry("tanh", hyperbolicTangent),
        prefixEntry("sech", hyperbolicSecant),
        prefixEntry("csch", hyperbolicCosecant),
        prefixEntry("coth", hyperbolicCotangent),
    };
    return entries;
}

}  // namespace kx
