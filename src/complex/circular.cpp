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
// with S, C of x and s, c of y. The reciprocal functions are quotients of the same kind:
//   sec z = (C·c + i·S·s)/(C² + s²), csc z = (S·c - i·C·s)/(S² + s²) (S, C of x; s, c of y),
//   sech z = (c·C - i·s·S)/(s² + C²), csch z = (s·C - i·c·S)/(s² + S²) (s, c of x; S, C of y).
// Each part is one product over a sum of two squares: no cancellation anywhere, also next to
// the poles, where the divisor is small but a sum of squares of accurate small values. The
// four ingredients are taken unrounded, as double-doubles within 2^-64 relative
// (real::wideSinCos, wideSinhCosh), the products, the sum and the quotients are done in
// double-double, and each part is rounded once. Each factor's error enters a part once and
// the divisor's twice (a weighted mean of two squares), so a part is within about 2^-61
// relative before its rounding: correctly rounded but within 2^-8 ulp of a halfway case, and
// within 0.51 ulp always, the small part next to a large one included.
//
// Far out, |Re z| > 22 (tanh, coth, sech, csch) or |Im z| > 22 (tan, cot, sec, csc),
// e^-2|.| < 2^-63 and
//   tanh(x + iy) = (sign x, 4 S C·e^-2|x|),   coth(x + iy) = (sign x, -4 S C·e^-2|x|)
//   tan(x + iy)  = (4 S C·e^-2|y|, sign y),   cot(x + iy)  = (4 S C·e^-2|y|, -sign y)
// with S, C of the other part: the large part is ±1 correctly rounded (it differs from ±1 by
// at most 2e^-2|.|, below a quarter ulp), the small part 4e^-2|.| < 2^-61 relative from the
// true one, and formed as the unrounded 4 S C times e^-2|.| unrounded (wideExponential),
// rounded once (below 1e-280 by the scaled product). The reciprocals take 1/w ~
// 2e^-|.|·conj(unit direction of w) in the same way. These forms also keep the squares of s
// and c (beyond 355) and the division (beyond 709) from overflowing.
//
// On the real and the imaginary axis a quotient is a real quotient (tanh x = sinh x/cosh x,
// tanh iy = i·sin y/cos y), accurate as it is (three roundings of half an ulp): there the
// direct functions are divided with the quotient of "/", or reciprocal, whose signs of zero
// parts later functions see (the branch of ln, of sqrt), and beyond |.| = 709 the forms above
// are used with a +0 small part. Infinite or NaN arguments are not limiting cases: they keep
// the division's NaN pair.
//
// Signs of zeros: a real argument gives sin an imaginary part of +0 and cos one of -0; an
// imaginary argument gives sinh a real part of +0 and cosh an imaginary part of +0.
//
// Accuracy against mpmath (tests/reference/circular.txt, about 4300 points up to and past
// the overflow thresholds and far from both axes, and the random sweep
// tools/reference/sweep_functions.py): every part of every function within 1 ulp of the
// correctly rounded value of that part.
#include "complex/circular.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "complex/arithmetic.h"
#include "core/double_double.h"
#include "complex/hyperbolic_products.h"
#include "real/sin_cos.h"

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

// ±4 sin t cos t·e^-2|a|: the small part of tanh, coth, tan and cot on an axis beyond 709.
// A zero comes out +0, as the division gives it next to the limiting region.
double farSmallPart(double a, SineCosine ct, double sign) {
    return exponentialProduct(-2.0 * std::fabs(a), sign * 4.0 * ct.sine * ct.cosine) + 0.0;
}

// 2e^-|a|·b: the parts of sech, csch, sec and csc on an axis beyond 709.
double farAxisReciprocalPart(double a, double b) { return exponentialProduct(-std::fabs(a), 2.0 * b); }

// Below this exponent e^t and a product with it are well inside the normal range (its low
// part too, down to results of 1e-290), so the product is formed unrounded and rounded once.
constexpr double wideExponentLimit = -650.0;

// b·e^t for t <= 0, b unrounded: rounded once while e^t is well inside the range; beyond,
// where the result is below 1e-280, through the scaled product.
double decayingProduct(double t, DoubleDouble b) {
    if (t >= wideExponentLimit) return rounded(ddMultiply(wideExponential(t), b));
    return exponentialProduct(t, rounded(b));
}

DoubleDouble times(double factor, DoubleDouble a) { return {factor * a.high, factor * a.low}; }  // factor ±2^k

// The same far off both axes, from the unrounded sine and cosine.
double farSmallPart(double a, const real::WideSineCosine& ct, double sign) {
    return decayingProduct(-2.0 * std::fabs(a), times(sign * 4.0, ddMultiply(ct.sine, ct.cosine))) + 0.0;
}
double farReciprocalPart(double a, DoubleDouble b) { return decayingProduct(-std::fabs(a), times(2.0, b)); }

double signOf(double value) { return std::copysign(1.0, value); }

// An argument off both axes with finite parts: the quotients take their own formulas there.
bool offTheAxes(Complex z) { return isFinite(z) && !isZero(z.re) && !isZero(z.im); }

DoubleDouble scaledUp(DoubleDouble a) { return {a.high * poleScale, a.low * poleScale}; }

// (a·b + i·sign·c·d) / (e² + f²), each part rounded once from double-double (see the header).
// Next to the pole of cot and coth at 0 both terms of the divisor are tiny and their squares
// would underflow: the divisor's terms and the numerator are scaled by 2^600 (exactly), and the
// quotients, 2^-600 of the true ones, scaled back.
Complex quotientOfProducts(DoubleDouble a, DoubleDouble b, DoubleDouble c, DoubleDouble d, double sign, DoubleDouble e,
                           DoubleDouble f) {
    if (std::fmax(std::fabs(e.high), std::fabs(f.high)) < tinyDivisorTerm) {
        const Complex scaled = quotientOfProducts(scaledUp(a), b, scaledUp(c), d, sign, scaledUp(e), scaledUp(f));
        return {scaled.re * poleScale, scaled.im * poleScale};
    }
    const DoubleDouble divisor = ddAdd(ddMultiply(e, e), ddMultiply(f, f));
    const DoubleDouble imaginary = ddMultiply(sign < 0.0 ? negated(c) : c, d);
    return {rounded(ddDivide(ddMultiply(a, b), divisor)), rounded(ddDivide(imaginary, divisor))};
}

// The four ingredients unrounded: sinh and cosh of the growing part, sin and cos of the other.
struct Wide {
    DoubleDouble sinh, cosh, sine, cosine;
};
Wide wide(double growing, double oscillating) {
    const WideSinhCosh h = wideSinhCosh(growing);
    const real::WideSineCosine c = real::wideSinCos(oscillating);
    return {h.sinh, h.cosh, c.sine, c.cosine};
}

// The sign a far part of a reciprocal function carries: none, that of the growing part g,
// its opposite, or a plain minus.
enum class PartSign { none, ofGrowing, againstGrowing, minus };

DoubleDouble signedPart(PartSign sign, double g, DoubleDouble part) {
    switch (sign) {
        case PartSign::none: return part;
        case PartSign::ofGrowing: return times(signOf(g), part);
        case PartSign::againstGrowing: return times(-signOf(g), part);
        case PartSign::minus: return times(-1.0, part);
    }
    return part;
}

double signedPart(PartSign sign, double g, double part) {
    switch (sign) {
        case PartSign::none: return part;
        case PartSign::ofGrowing: return signOf(g) * part;
        case PartSign::againstGrowing: return -signOf(g) * part;
        case PartSign::minus: return -part;
    }
    return part;
}

// One of the four reciprocal functions 1/f(z), f = cos, sin, cosh or sinh, of the growing part
// g (Im z for sec and csc, Re z for sech and csch) and the other part t:
//   near (|g| <= 22, off the axes): (a·b + i·sign·c·d)/(e² + f²) of the unrounded ingredients;
//   far (off the axes): 2e^-|g|·(first, second), the cosine and sine of t in either order,
//     each part with its own sign;
//   on an axis: 1/f(z) with reciprocal, or the far form from the rounded cosine and sine
//     where f(z) could overflow inside the division (|g| > 709).
struct ReciprocalShape {
    bool growingIsReal;
    Complex (*direct)(double g, SineCosine ct);  // f(z) on an axis
    DoubleDouble Wide::*a;
    DoubleDouble Wide::*b;
    DoubleDouble Wide::*c;
    DoubleDouble Wide::*d;
    double sign;
    DoubleDouble Wide::*e;
    DoubleDouble Wide::*f;
    bool cosineFirst;  // the far real part is from the cosine of t, the imaginary one from its sine
    PartSign realSign;
    PartSign imaginarySign;
};

// sec z = (C·c + i·S·s)/(C² + s²); far from the real axis cos z ~ (e^|y|/2)(cos x, -sign y·sin x).
constexpr ReciprocalShape secantShape{
    .growingIsReal = false, .direct = cosineOf,
    .a = &Wide::cosine, .b = &Wide::cosh, .c = &Wide::sine, .d = &Wide::sinh, .sign = 1.0, .e = &Wide::cosine, .f = &Wide::sinh,
    .cosineFirst = true, .realSign = PartSign::none, .imaginarySign = PartSign::ofGrowing};
// csc z = (S·c - i·C·s)/(S² + s²); far from the real axis sin z ~ (e^|y|/2)(sin x, sign y·cos x).
constexpr ReciprocalShape cosecantShape{
    .growingIsReal = false, .direct = sineOf,
    .a = &Wide::sine, .b = &Wide::cosh, .c = &Wide::cosine, .d = &Wide::sinh, .sign = -1.0, .e = &Wide::sine, .f = &Wide::sinh,
    .cosineFirst = false, .realSign = PartSign::none, .imaginarySign = PartSign::againstGrowing};
// sech z = (c·C - i·s·S)/(s² + C²); far from the imaginary axis cosh z ~ (e^|x|/2)(cos y, sign x·sin y).
constexpr ReciprocalShape hyperbolicSecantShape{
    .growingIsReal = true, .direct = hyperbolicCosineOf,
    .a = &Wide::cosh, .b = &Wide::cosine, .c = &Wide::sinh, .d = &Wide::sine, .sign = -1.0, .e = &Wide::sinh, .f = &Wide::cosine,
    .cosineFirst = true, .realSign = PartSign::none, .imaginarySign = PartSign::againstGrowing};
// csch z = (s·C - i·c·S)/(s² + S²); far from the imaginary axis sinh z ~ (e^|x|/2)(sign x·cos y, sin y).
constexpr ReciprocalShape hyperbolicCosecantShape{
    .growingIsReal = true, .direct = hyperbolicSineOf,
    .a = &Wide::sinh, .b = &Wide::cosine, .c = &Wide::cosh, .d = &Wide::sine, .sign = -1.0, .e = &Wide::sinh, .f = &Wide::sine,
    .cosineFirst = true, .realSign = PartSign::ofGrowing, .imaginarySign = PartSign::minus};

template <const ReciprocalShape& shape>
Complex reciprocalFunction(Complex z) {
    const double g = shape.growingIsReal ? z.re : z.im;
    const double t = shape.growingIsReal ? z.im : z.re;
    if (offTheAxes(z)) {
        if (std::fabs(g) <= farQuotientArgument) {
            const Wide w = wide(g, t);
            return quotientOfProducts(w.*shape.a, w.*shape.b, w.*shape.c, w.*shape.d, shape.sign, w.*shape.e,
                                      w.*shape.f);
        }
        const real::WideSineCosine w = real::wideSinCos(t);
        const DoubleDouble first = shape.cosineFirst ? w.cosine : w.sine;
        const DoubleDouble second = shape.cosineFirst ? w.sine : w.cosine;
        return {farReciprocalPart(g, signedPart(shape.realSign, g, first)),
                farReciprocalPart(g, signedPart(shape.imaginarySign, g, second))};
    }
    const SineCosine ct = sineCosine(t);
    const Complex divisor = shape.direct(g, ct);
    if (isFinite(z) && mayOverflowInDivision(divisor, divisor)) {
        const double first = shape.cosineFirst ? ct.cosine : ct.sine;
        const double second = shape.cosineFirst ? ct.sine : ct.cosine;
        return {farAxisReciprocalPart(g, signedPart(shape.realSign, g, first)),
                farAxisReciprocalPart(g, signedPart(shape.imaginarySign, g, second))};
    }
    return reciprocal(divisor);
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

Complex sine(Complex z) { return sineOf(z.im, sineCosine(z.re)); }

Complex cosine(Complex z) { return cosineOf(z.im, sineCosine(z.re)); }

Complex hyperbolicSine(Complex z) { return hyperbolicSineOf(z.re, sineCosine(z.im)); }

Complex hyperbolicCosine(Complex z) { return hyperbolicCosineOf(z.re, sineCosine(z.im)); }

// tan z = sin z / cos z = (S·C + i·s·c)/(C² + s²)
Complex tangent(Complex z) {
    if (offTheAxes(z)) {
        if (std::fabs(z.im) <= farQuotientArgument) {
            const Wide w = wide(z.im, z.re);
            return quotientOfProducts(w.sine, w.cosine, w.sinh, w.cosh, 1.0, w.cosine, w.sinh);
        }
        const real::WideSineCosine w = real::wideSinCos(z.re);
        return {farSmallPart(z.im, w, 1.0), signOf(z.im)};
    }
    const SineCosine cx = sineCosine(z.re);
    const Complex numerator = sineOf(z.im, cx), divisor = cosineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |y| > 709
        return {farSmallPart(z.im, cx, 1.0), signOf(z.im)};
    return divide(numerator, divisor);
}

// cot z = cos z / sin z = (S·C - i·s·c)/(S² + s²)
Complex cotangent(Complex z) {
    if (offTheAxes(z)) {
        if (std::fabs(z.im) <= farQuotientArgument) {
            const Wide w = wide(z.im, z.re);
            return quotientOfProducts(w.sine, w.cosine, w.sinh, w.cosh, -1.0, w.sine, w.sinh);
        }
        const real::WideSineCosine w = real::wideSinCos(z.re);
        return {farSmallPart(z.im, w, 1.0), -signOf(z.im)};
    }
    const SineCosine cx = sineCosine(z.re);
    const Complex numerator = cosineOf(z.im, cx), divisor = sineOf(z.im, cx);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |y| > 709
        return {farSmallPart(z.im, cx, 1.0), -signOf(z.im)};
    return divide(numerator, divisor);
}

// tanh z = sinh z / cosh z = (s·c + i·S·C)/(s² + C²)
Complex hyperbolicTangent(Complex z) {
    if (offTheAxes(z)) {
        if (std::fabs(z.re) <= farQuotientArgument) {
            const Wide w = wide(z.re, z.im);
            return quotientOfProducts(w.sinh, w.cosh, w.sine, w.cosine, 1.0, w.sinh, w.cosine);
        }
        const real::WideSineCosine w = real::wideSinCos(z.im);
        return {signOf(z.re), farSmallPart(z.re, w, 1.0)};
    }
    const SineCosine cy = sineCosine(z.im);
    const Complex numerator = hyperbolicSineOf(z.re, cy), divisor = hyperbolicCosineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |x| > 709
        return {signOf(z.re), farSmallPart(z.re, cy, 1.0)};
    return divide(numerator, divisor);
}

// coth z = cosh z / sinh z = (s·c - i·S·C)/(s² + S²)
Complex hyperbolicCotangent(Complex z) {
    if (offTheAxes(z)) {
        if (std::fabs(z.re) <= farQuotientArgument) {
            const Wide w = wide(z.re, z.im);
            return quotientOfProducts(w.sinh, w.cosh, w.sine, w.cosine, -1.0, w.sinh, w.sine);
        }
        const real::WideSineCosine w = real::wideSinCos(z.im);
        return {signOf(z.re), farSmallPart(z.re, w, -1.0)};
    }
    const SineCosine cy = sineCosine(z.im);
    const Complex numerator = hyperbolicCosineOf(z.re, cy), divisor = hyperbolicSineOf(z.re, cy);
    if (isFinite(z) && mayOverflowInDivision(numerator, divisor))  // |x| > 709
        return {signOf(z.re), farSmallPart(z.re, cy, -1.0)};
    return divide(numerator, divisor);
}

// sec z = 1/cos z, csc z = 1/sin z, sech z = 1/cosh z, csch z = 1/sinh z (shapes above).
Complex secant(Complex z) { return reciprocalFunction<secantShape>(z); }
Complex cosecant(Complex z) { return reciprocalFunction<cosecantShape>(z); }
Complex hyperbolicSecant(Complex z) { return reciprocalFunction<hyperbolicSecantShape>(z); }
Complex hyperbolicCosecant(Complex z) { return reciprocalFunction<hyperbolicCosecantShape>(z); }

}  // namespace kx
