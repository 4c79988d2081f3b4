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
// tan, cot, tanh and coth divide two direct functions with the quotient of "/". Once a
// part of numerator or divisor exceeds DBL_MAX/4 the division could overflow inside
// (tanh 800 would be inf/inf); such parts only arise for |Re z| > 709 (tanh, coth) or
// |Im z| > 709 (tan, cot), where e^-2|.| is far below rounding and the functions take
// their limiting forms exactly:
//   tanh(x + iy) = (sign x, 4 sin y cos y·e^-2|x|),   coth(x + iy) = (sign x, -4 sin y cos y·e^-2|x|)
//   tan(x + iy)  = (4 sin x cos x·e^-2|y|, sign y),   cot(x + iy)  = (4 sin x cos x·e^-2|y|, -sign y)
// The reciprocal functions do the same with 1/w ~ 2e^-|.|·conj(unit direction of w).
// Infinite or NaN arguments are not limiting cases: they keep the division's NaN pair.
//
// Signs of zeros: a real argument gives sin an imaginary part of +0 and cos one of -0; an
// imaginary argument gives sinh a real part of +0 and cosh an imaginary part of +0.
//
// Accuracy against mpmath (tests/reference/circular.txt, about 3500 points up to and past
// the overflow thresholds): sin, cos, sinh and cosh within 1 ulp per part; the quotients
// and reciprocals within 2 ulp normwise. A part tiny next to the other in a quotient can
// have a large relative error: the division is accurate only normwise.
#include "complex/circular.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "complex/arithmetic.h"
#include "complex/hyperbolic_products.h"
#include "complex/real_functions.h"

namespace kx {
namespace {

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
    const Complex numerator = sineOf(z.im, cx), divisor = cosineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |y| > 709
        return {farSmallPart(z.im, cx, 1.0), signOf(z.im)};
    return divide(numerator, divisor);
}

// cot z = cos z / sin z
Complex cotangent(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    const Complex numerator = cosineOf(z.im, cx), divisor = sineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |y| > 709
        return {farSmallPart(z.im, cx, 1.0), -signOf(z.im)};
    return divide(numerator, divisor);
}

// tanh z = sinh z / cosh z
Complex hyperbolicTangent(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    const Complex numerator = hyperbolicSineOf(z.re, cy), divisor = hyperbolicCosineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |x| > 709
        return {signOf(z.re), farSmallPart(z.re, cy, 1.0)};
    return divide(numerator, divisor);
}

// coth z = cosh z / sinh z
Complex hyperbolicCotangent(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    const Complex numerator = hyperbolicCosineOf(z.re, cy), divisor = hyperbolicSineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |x| > 709
        return {signOf(z.re), farSmallPart(z.re, cy, -1.0)};
    return divide(numerator, divisor);
}

// sec z = 1/cos z; far from the real axis cos z ~ (e^|y|/2)(cos x, -sign y·sin x).
Complex secant(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    const Complex divisor = cosineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.im, cx.cosine), farReciprocalPart(z.im, signOf(z.im) * cx.sine)};
    return reciprocal(divisor);
}

// csc z = 1/sin z; far from the real axis sin z ~ (e^|y|/2)(sin x, sign y·cos x).
Complex cosecant(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    const Complex divisor = sineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.im, cx.sine), farReciprocalPart(z.im, -signOf(z.im) * cx.cosine)};
    return reciprocal(divisor);
}

// sech z = 1/cosh z; far from the imaginary axis cosh z ~ (e^|x|/2)(cos y, sign x·sin y).
Complex hyperbolicSecant(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    const Complex divisor = hyperbolicCosineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor))
        return {farReciprocalPart(z.re, cy.cosine), farReciprocalPart(z.re, -signOf(z.re) * cy.sine)};
    return reciprocal(divisor);
}

// csch z = 1/sinh z; far from the imaginary axis sinh z ~ (e^|x|/2)(sign x·cos y, sin y).
Complex hyperbolicCosecant(Complex z) {
    const SineCosine cy = sineCosine(z.im);
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
