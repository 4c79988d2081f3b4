// The circular and hyperbolic functions, their quotients and their reciprocals.
//
//   sin(x + iy)  = (sin x·cosh y,  cos x·sinh y)      cos(x + iy)  = (cos x·cosh y, -sin x·sinh y)
//   sinh(x + iy) = (cos y·sinh x,  sin y·cosh x)      cosh(x + iy) = (cos y·cosh x,  sin y·sinh x)
//
// Each part is one product of a sine or cosine and a cosh or sinh, formed unrounded and
// rounded once, correctly (product_parts.h), so a part overflows only when it is itself
// beyond the double range: sin(1 + 710.5i) is finite although sinh 710.5 alone is not
// (sin(0 + 710.5i) = i·sinh 710.5 does overflow). On the axis where the growing part is zero
// the parts are the real sine and cosine (sin(x + 0i) = (sin x, +0)); where the other part
// is zero, the cosine factor is 1 and the part is the product all the same.
//
// tan, cot, tanh, coth and the reciprocals sec, csc, sech, csch are quotients of the same
// ingredients over a positive sum of two squares, tanh(x + iy) = (sinh x cosh x +
// i sin y cos y)/(sinh²x + cos²y) and its kin, each part rounded once, correctly, at finite
// arguments other than zero (quotient_parts.h). Zero and infinite or NaN arguments keep the
// direct functions divided with the quotient of "/" (or reciprocal): infinities are not
// limiting cases there, they give the division's NaN pair, and the poles at zero of cot,
// coth, csc and csch give it too.
//
// Signs of zeros: a real argument gives sin an imaginary part of +0 and cos one of -0; an
// imaginary argument gives sinh a real part of +0 and cosh an imaginary part of +0.
#include "complex/circular.h"

#include <cmath>

#include "complex/arithmetic.h"
#include "complex/hyperbolic_products.h"
#include "complex/part_rounding.h"
#include "complex/product_parts.h"
#include "complex/quotient_parts.h"
#include "real/sin_cos.h"

namespace kx {
namespace {

// --- Arguments with an infinite, NaN or zero part: the direct functions from the rounded
// sine and cosine, and the division of them.

bool isZero(double value) { return value == 0.0; }  // 0 == -0; NaN is not zero

bool isFinite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

using real::SineCosine;

// The library's own sine and cosine, so every platform gives the same parts.
SineCosine sineCosine(double angle) { return real::sinCos(angle); }

// The direct functions from the real sine and cosine of the other part, held as doubles.
Complex sineOf(double y, SineCosine cx) { return {scaledCosh(y, cx.sine), scaledSinh(y, cx.cosine)}; }
Complex cosineOf(double y, SineCosine cx) { return {scaledCosh(y, cx.cosine), -scaledSinh(y, cx.sine)}; }
Complex hyperbolicSineOf(double x, SineCosine cy) { return {scaledSinh(x, cy.cosine), scaledCosh(x, cy.sine)}; }
Complex hyperbolicCosineOf(double x, SineCosine cy) { return {scaledCosh(x, cy.cosine), scaledSinh(x, cy.sine)}; }

// sin t and cos t are zero, NaN or infinite exactly when t is zero or not finite: then the
// scaled products above give the part (a zero or a special value).
bool ordinaryProductArguments(double t, double g) {
    return std::isfinite(t) && g != 0.0 && std::fabs(g) < productGrowthLimit;
}

// --- The direct functions

template <PartPath path>
Complex sineBy(Complex z) {
    const double x = z.re, y = z.im;
    if (!ordinaryProductArguments(x, y)) return sineOf(y, sineCosine(x));
    ProductParts parts(x, y, false);
    const double re = isZero(x) ? x : parts.rounded({Circular::sine, Growth::cosh, false}, path);
    return {re, parts.rounded({Circular::cosine, Growth::sinh, false}, path)};
}

template <PartPath path>
Complex cosineBy(Complex z) {
    const double x = z.re, y = z.im;
    if (!ordinaryProductArguments(x, y)) return cosineOf(y, sineCosine(x));
    ProductParts parts(x, y, false);
    const double im = isZero(x) ? (std::signbit(y) ? x : -x)  // -(sinh y·x), the sign of the zero product negated
                                : parts.rounded({Circular::sine, Growth::sinh, true}, path);
    return {parts.rounded({Circular::cosine, Growth::cosh, false}, path), im};
}

template <PartPath path>
Complex hyperbolicSineBy(Complex z) {
    const double x = z.re, y = z.im;
    if (!ordinaryProductArguments(y, x)) return hyperbolicSineOf(x, sineCosine(y));
    ProductParts parts(y, x, false);
    const double im = isZero(y) ? y : parts.rounded({Circular::sine, Growth::cosh, false}, path);
    return {parts.rounded({Circular::cosine, Growth::sinh, false}, path), im};
}

template <PartPath path>
Complex hyperbolicCosineBy(Complex z) {
    const double x = z.re, y = z.im;
    if (!ordinaryProductArguments(y, x)) return hyperbolicCosineOf(x, sineCosine(y));
    ProductParts parts(y, x, false);
    const double im = isZero(y) ? (std::signbit(x) ? -y : y)  // sinh x·y
                                : parts.rounded({Circular::sine, Growth::sinh, false}, path);
    return {parts.rounded({Circular::cosine, Growth::cosh, false}, path), im};
}

// --- The quotients on special arguments (a part infinite or NaN, or z zero): the direct
// functions divided, or their reciprocal.

Complex specialTangent(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    return divide(sineOf(z.im, cx), cosineOf(z.im, cx));
}

Complex specialCotangent(Complex z) {
    const SineCosine cx = sineCosine(z.re);
    return divide(cosineOf(z.im, cx), sineOf(z.im, cx));
}

Complex specialHyperbolicTangent(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    return divide(hyperbolicSineOf(z.re, cy), hyperbolicCosineOf(z.re, cy));
}

Complex specialHyperbolicCotangent(Complex z) {
    const SineCosine cy = sineCosine(z.im);
    return divide(hyperbolicCosineOf(z.re, cy), hyperbolicSineOf(z.re, cy));
}

Complex specialSecant(Complex z) { return reciprocal(cosineOf(z.im, sineCosine(z.re))); }
Complex specialCosecant(Complex z) { return reciprocal(sineOf(z.im, sineCosine(z.re))); }
Complex specialHyperbolicSecant(Complex z) { return reciprocal(hyperbolicCosineOf(z.re, sineCosine(z.im))); }
Complex specialHyperbolicCosecant(Complex z) { return reciprocal(hyperbolicSineOf(z.re, sineCosine(z.im))); }

// A quotient function: its special arguments as the direct functions and the division give
// them, the others correctly rounded (quotient_parts.h).
Complex quotientBy(Quotient function, Complex (*special)(Complex), Complex z, PartPath path) {
    if (!isFinite(z) || (isZero(z.re) && isZero(z.im))) return special(z);
    return roundedQuotient(function, z, path);
}

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

Complex sine(Complex z) { return sineBy<PartPath::fastFirst>(z); }
Complex cosine(Complex z) { return cosineBy<PartPath::fastFirst>(z); }
Complex hyperbolicSine(Complex z) { return hyperbolicSineBy<PartPath::fastFirst>(z); }
Complex hyperbolicCosine(Complex z) { return hyperbolicCosineBy<PartPath::fastFirst>(z); }
Complex tangent(Complex z) {
    return quotientBy(Quotient::tangent, specialTangent, z, PartPath::fastFirst);
}
Complex cotangent(Complex z) {
    return quotientBy(Quotient::cotangent, specialCotangent, z, PartPath::fastFirst);
}
Complex hyperbolicTangent(Complex z) {
    return quotientBy(Quotient::hyperbolicTangent, specialHyperbolicTangent, z, PartPath::fastFirst);
}
Complex hyperbolicCotangent(Complex z) {
    return quotientBy(Quotient::hyperbolicCotangent, specialHyperbolicCotangent, z, PartPath::fastFirst);
}
Complex secant(Complex z) {
    return quotientBy(Quotient::secant, specialSecant, z, PartPath::fastFirst);
}
Complex cosecant(Complex z) {
    return quotientBy(Quotient::cosecant, specialCosecant, z, PartPath::fastFirst);
}
Complex hyperbolicSecant(Complex z) {
    return quotientBy(Quotient::hyperbolicSecant, specialHyperbolicSecant, z, PartPath::fastFirst);
}
Complex hyperbolicCosecant(Complex z) {
    return quotientBy(Quotient::hyperbolicCosecant, specialHyperbolicCosecant, z, PartPath::fastFirst);
}

namespace accurate {
Complex sine(Complex z) { return sineBy<PartPath::ballsOnly>(z); }
Complex cosine(Complex z) { return cosineBy<PartPath::ballsOnly>(z); }
Complex hyperbolicSine(Complex z) { return hyperbolicSineBy<PartPath::ballsOnly>(z); }
Complex hyperbolicCosine(Complex z) { return hyperbolicCosineBy<PartPath::ballsOnly>(z); }
Complex tangent(Complex z) {
    return quotientBy(Quotient::tangent, specialTangent, z, PartPath::ballsOnly);
}
Complex cotangent(Complex z) {
    return quotientBy(Quotient::cotangent, specialCotangent, z, PartPath::ballsOnly);
}
Complex hyperbolicTangent(Complex z) {
    return quotientBy(Quotient::hyperbolicTangent, specialHyperbolicTangent, z, PartPath::ballsOnly);
}
Complex hyperbolicCotangent(Complex z) {
    return quotientBy(Quotient::hyperbolicCotangent, specialHyperbolicCotangent, z, PartPath::ballsOnly);
}
Complex secant(Complex z) {
    return quotientBy(Quotient::secant, specialSecant, z, PartPath::ballsOnly);
}
Complex cosecant(Complex z) {
    return quotientBy(Quotient::cosecant, specialCosecant, z, PartPath::ballsOnly);
}
Complex hyperbolicSecant(Complex z) {
    return quotientBy(Quotient::hyperbolicSecant, specialHyperbolicSecant, z, PartPath::ballsOnly);
}
Complex hyperbolicCosecant(Complex z) {
    return quotientBy(Quotient::hyperbolicCosecant, specialHyperbolicCosecant, z, PartPath::ballsOnly);
}
}  // namespace accurate

}  // namespace kx
