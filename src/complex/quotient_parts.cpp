// The parts of tan, cot, tanh, coth, sec, csc, sech and csch.
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
// (real::wideSinCos, scaledWideSinhCosh), each scaled into [1/2, 1)·2^k exactly so that no
// product or square leaves the range however large or small the ingredient; the products,
// the sum and the quotients are done in double-double. Each factor's error enters a part once
// and the divisor's twice (a weighted mean of two squares), so a part is within
// 4·2^-64 + 2^-100 < 2^-61.99 of itself before its rounding.
//
// Far out, |g| > 22 for the growing part g (Re z of tanh, coth, sech, csch; Im z of tan, cot,
// sec, csc), e^-2|g| < 2^-63 and, with S, C of the other part,
//   tanh(x + iy) = (sign x, 4 S C·e^-2|x|),   coth(x + iy) = (sign x, -4 S C·e^-2|x|)
//   tan(x + iy)  = (4 S C·e^-2|y|, sign y),   cot(x + iy)  = (4 S C·e^-2|y|, -sign y)
// The large part differs from ±1 by less than 6e^-2|g| < 2^-60, far below the quarter ulp
// that would change its rounding. The small part is SC/(s² + C²) = 4SC·e^-2|g|/(1 + ε) with
// |ε| <= 2e^-2|g| + e^-4|g| (s² + C² = e^2|g|(1 + ε)/4; likewise for coth), so the form
// is within 2.0001e^-2|g| of it, plus the errors of S, C and e^-2|g| (the fast exponential:
// 2^-64.3, squared beyond 745) and two products: below 2^-62.5 + 2.0001e^-2|g|. The
// reciprocals take 1/w ~ 2e^-|g|·conj(unit direction of w): sech's real part
// c·C/(s² + C²) = 2e^-|g| C (1 + e^-2|g|)/(1 + ε), within 3.0001e^-2|g| of the form, and
// the other parts likewise; with the errors, below 2^-63.1 + 3.0001e^-2|g|. These forms also
// keep the squares of s and c (beyond 355) and the division (beyond 709) from overflowing;
// past |g| = 373 (quotients) or 746 (reciprocals) the small parts are below half the smallest
// subnormal and round to zero.
//
// Rounding: a part is taken when every number within twice its bound rounds to the same
// normal double (part_rounding.h); otherwise (a part within about 2^-8 ulp of a halfway
// point) the quotient formula itself, for every |g| up to 746, is formed from the accurate
// ingredients (real::wide::sinCos, scaledAccurateSinhCosh, about 2^-99; their powers of two
// apart, so that no square overflows) and tested against accuratePartBound; what that leaves
// (results below the normal range, t beyond 2^50, one part in about 2^36 of the rest) is the
// quotient formula on balls, ingredients from real::sinCos and real::sinhCosh of the ball
// arguments, which rounds correctly. No nonzero part is a halfway point or a double for finite
// nonzero arguments (such values of these functions are transcendental), so the balls always
// decide.
//
// On the real and the imaginary axis one part of a quotient is zero and takes the sign the
// division of the direct functions (or the far forms, past |g| = 709.09) has always given it,
// which later functions see (the branch of ln, of sqrt); the other part is the real quotient
// the near formula reduces to there (tan x = S/C, tan(iy) = i·s/c, sec x = 1/C, ...: one
// quotient of two ingredients, or of 1 and one, within 2^-63 + 2^-103), correctly rounded.
#include "complex/quotient_parts.h"

#include <algorithm>
#include <cmath>

#include "complex/hyperbolic_products.h"
#include "core/ball.h"
#include "core/double_double.h"
#include "real/ball_functions.h"
#include "real/sin_cos.h"

namespace kx {
namespace {

bool isZero(double value) { return value == 0.0; }  // 0 == -0; NaN is not zero

double signOf(double value) { return std::copysign(1.0, value); }

// Beyond this |g| the quotients take their far forms: e^-44 < 2^-63.
constexpr double farQuotientArgument = 22.0;
// Beyond these the far small parts are below half the smallest subnormal: 2e^-746 < 2^-1075.
constexpr double vanishingSmallPart = 373.0;
constexpr double vanishingReciprocalPart = 746.0;
// From this |g| on (cosh g rounded above a quarter of the largest double) the division of the
// direct functions gave way to the far forms, whose zero parts on an axis are +0.
constexpr double farAxisArgument = 0x1.628b76e3a7b61p+9;  // 709.09

// Twice the bounds derived in the header: near, far small parts and far reciprocal parts
// (plus a multiple of e^-2|g|, with slack for its own rounding).
constexpr double nearQuotientBound = 0x1p-61;
constexpr double axisQuotientBound = 0x1p-62;
constexpr double farPartBound = 0x1p-61;
constexpr double farSmallPartDecay = 4.01;
constexpr double farReciprocalPartDecay = 6.01;

// The ingredients: sinh and cosh of the growing part g, sine and cosine of the other part t.
enum Ingredient { sinhOfGrowing, coshOfGrowing, sineOfOther, cosineOfOther };

struct WideIngredients {
    ScaledDoubleDouble part[4];
};

enum class Precision { fast, accurate };

// real::wide::sinCos takes arguments below this.
constexpr double largestAccurateCircularArgument = 0x1p50;

WideIngredients wideIngredients(double g, double t, Precision precision) {
    const bool fast = precision == Precision::fast;
    WideIngredients w{};
    if (isZero(g)) {
        w.part[sinhOfGrowing] = {{0.0, 0.0}, 0};
        w.part[coshOfGrowing] = {{0.5, 0.0}, 1};
    } else {
        const ScaledSinhCosh h = fast ? scaledWideSinhCosh(g) : scaledAccurateSinhCosh(g);
        w.part[sinhOfGrowing] = h.sinh;
        w.part[coshOfGrowing] = h.cosh;
    }
    const real::WideSineCosine c = fast ? real::wideSinCos(t) : real::wide::sinCos({t, 0.0});
    w.part[sineOfOther] = {c.sine, 0};
    w.part[cosineOfOther] = {c.cosine, 0};
    return w;
}

// An ingredient whose products and squares, low parts included, are normal doubles (or zero):
// then the quotient needs no scaling.
bool moderate(DoubleDouble v) {
    const double magnitude = std::fabs(v.high);
    return magnitude == 0.0 || (magnitude >= 0x1p-400 && magnitude <= 0x1p400);
}

struct BallIngredients {
    Ball sinh, cosh, sine, cosine;
    const Ball& operator[](Ingredient i) const {
        switch (i) {
            case sinhOfGrowing: return sinh;
            case coshOfGrowing: return cosh;
            case sineOfOther: return sine;
            default: return cosine;
        }
    }
};

BallIngredients ballIngredients(double g, double t, int bits) {
    const real::BallSinhCosh h = real::sinhCosh(Ball(g, bits));
    const real::BallSineCosine c = real::sinCos(Ball(t, bits));
    return {h.sinh, h.cosh, c.sine, c.cosine};
}

// (a·b + i·sign·c·d) / (e² + f²)
struct NearShape {
    Ingredient a, b, c, d;
    double sign;
    Ingredient e, f;
};

ScaledDoubleDouble product(ScaledDoubleDouble p, ScaledDoubleDouble q) {
    return {ddMultiply(p.value, q.value), p.exponent + q.exponent};
}

// e² + f², not both zero, scaled by the larger one's power of two (the smaller one's square,
// when it falls below the range, is below 2^-1000 of the sum).
ScaledDoubleDouble sumOfSquares(ScaledDoubleDouble e, ScaledDoubleDouble f) {
    const int scale = e.value.high == 0.0 ? f.exponent : f.value.high == 0.0 ? e.exponent : std::max(e.exponent, f.exponent);
    const DoubleDouble u = ddTimesPowerOfTwo(e.value, e.exponent - scale);
    const DoubleDouble v = ddTimesPowerOfTwo(f.value, f.exponent - scale);
    return {ddAdd(ddMultiply(u, u), ddMultiply(v, v)), 2 * scale};
}

ScaledDoubleDouble quotient(ScaledDoubleDouble numerator, ScaledDoubleDouble divisor) {
    return {ddDivide(numerator.value, divisor.value), numerator.exponent - divisor.exponent};
}

// The part of the near formula on balls: the real one or the imaginary one.
Ball nearPartOnBalls(const NearShape& shape, bool imaginary, double g, double t, int bits) {
    const BallIngredients w = ballIngredients(g, t, bits);
    const Ball divisor = w[shape.e] * w[shape.e] + w[shape.f] * w[shape.f];
    if (!imaginary) return w[shape.a] * w[shape.b] / divisor;
    const Ball part = w[shape.c] * w[shape.d] / divisor;
    return shape.sign < 0.0 ? -part : part;
}

// The sign a far part of a reciprocal function carries: none, that of the growing part g,
// its opposite, or a plain minus.
enum class PartSign { none, ofGrowing, againstGrowing, minus };

double signFactor(PartSign sign, double g) {
    switch (sign) {
        case PartSign::none: return 1.0;
        case PartSign::ofGrowing: return signOf(g);
        case PartSign::againstGrowing: return -signOf(g);
        case PartSign::minus: return -1.0;
    }
    return 1.0;
}

DoubleDouble times(double factor, DoubleDouble a) { return {factor * a.high, factor * a.low}; }  // factor ±2^k

enum class FarForm { tangent, reciprocal };

// On an axis (with |g| <= 22) the part that is not zero is a real quotient, sign times a
// numerator (an ingredient, or 1) over an ingredient: tan x = S/C, tan(iy) = i·s/c,
// sec x = 1/C, csc(iy) = -i/s, ... (c² = 1 + s² and C² + S² = 1 reduce the near formula to it).
struct AxisQuotient {
    bool imaginary;  // the part that is not zero
    bool unitNumerator;
    Ingredient numerator;
    Ingredient denominator;
    double sign;
};

// One quotient function, g the growing part of z (Re z when growingIsReal, else Im z), t the
// other:
//   near (|g| <= 22): the near formula;
//   far, tangent form: the large part unitSign·sign g, the small part smallSign·4·S·C·e^-2|g|
//     (the real part when g is Im z, the imaginary part when g is Re z);
//   far, reciprocal form: 2e^-|g|·(cos t, sin t) or (sin t, cos t), each part with its sign;
// zero parts on the axes with the signs of the functions zeroOnRealAxis (the imaginary part
// of f(x ± 0i)) and zeroOnImaginaryAxis (the zero part of f(±0 + iy)), from z and the signs
// of sin t and cos t.
struct QuotientShape {
    bool growingIsReal;
    NearShape near;
    FarForm far;
    double unitSign;
    double smallSign;
    bool cosineFirst;
    PartSign realSign;
    PartSign imaginarySign;
    double (*zeroOnRealAxis)(Complex z, double sine, double cosine);
    double (*zeroOnImaginaryAxis)(Complex z, double sine, double cosine);
    AxisQuotient onRealAxis;
    AxisQuotient onImaginaryAxis;
};

// The zero part's sign in each case (the division's, or the far forms' beyond farAxisArgument).
double positiveZero(Complex, double, double) { return +0.0; }
double negativeZero(Complex, double, double) { return -0.0; }
double zeroSignedByCosine(Complex, double, double cosine) { return std::copysign(0.0, cosine); }
double zeroAgainstCosine(Complex, double, double cosine) { return std::copysign(0.0, -cosine); }
double zeroSignedBySine(Complex, double sine, double) { return std::copysign(0.0, sine); }
double zeroSignedByRe(Complex z, double, double) { return std::copysign(0.0, z.re); }
double zeroAgainstIm(Complex z, double, double) { return std::copysign(0.0, -z.im); }
double zeroSignedByBothParts(Complex z, double, double) { return std::signbit(z.re) == std::signbit(z.im) ? +0.0 : -0.0; }
double zeroAgainstBothParts(Complex z, double, double) { return std::signbit(z.re) == std::signbit(z.im) ? -0.0 : +0.0; }
// cot(±0 + iy) and coth(x ± 0i): signed by the growing part, +0 from the far forms on.
double zeroOfCotangentOnImaginaryAxis(Complex z, double, double) {
    return std::fabs(z.im) >= farAxisArgument ? +0.0 : std::copysign(0.0, z.im);
}
double zeroOfHyperbolicCotangentOnRealAxis(Complex z, double, double) {
    return std::fabs(z.re) >= farAxisArgument ? +0.0 : std::copysign(0.0, z.re);
}

// tan z = sin z / cos z = (S·C + i·s·c)/(C² + s²)
constexpr QuotientShape tangentShape{
    .growingIsReal = false,
    .near = {sineOfOther, cosineOfOther, sinhOfGrowing, coshOfGrowing, 1.0, cosineOfOther, sinhOfGrowing},
    .far = FarForm::tangent, .unitSign = 1.0, .smallSign = 1.0,
    .cosineFirst = false, .realSign = PartSign::none, .imaginarySign = PartSign::none,
    .zeroOnRealAxis = zeroSignedByCosine, .zeroOnImaginaryAxis = positiveZero,
    .onRealAxis = {false, false, sineOfOther, cosineOfOther, 1.0},
    .onImaginaryAxis = {true, false, sinhOfGrowing, coshOfGrowing, 1.0}};
// cot z = cos z / sin z = (S·C - i·s·c)/(S² + s²)
constexpr QuotientShape cotangentShape{
    .growingIsReal = false,
    .near = {sineOfOther, cosineOfOther, sinhOfGrowing, coshOfGrowing, -1.0, sineOfOther, sinhOfGrowing},
    .far = FarForm::tangent, .unitSign = -1.0, .smallSign = 1.0,
    .cosineFirst = false, .realSign = PartSign::none, .imaginarySign = PartSign::none,
    .zeroOnRealAxis = zeroAgainstCosine, .zeroOnImaginaryAxis = zeroOfCotangentOnImaginaryAxis,
    .onRealAxis = {false, false, cosineOfOther, sineOfOther, 1.0},
    .onImaginaryAxis = {true, false, coshOfGrowing, sinhOfGrowing, -1.0}};
// tanh z = sinh z / cosh z = (s·c + i·S·C)/(s² + C²)
constexpr QuotientShape hyperbolicTangentShape{
    .growingIsReal = true,
    .near = {sinhOfGrowing, coshOfGrowing, sineOfOther, cosineOfOther, 1.0, sinhOfGrowing, cosineOfOther},
    .far = FarForm::tangent, .unitSign = 1.0, .smallSign = 1.0,
    .cosineFirst = false, .realSign = PartSign::none, .imaginarySign = PartSign::none,
    .zeroOnRealAxis = positiveZero, .zeroOnImaginaryAxis = zeroSignedByCosine,
    .onRealAxis = {false, false, sinhOfGrowing, coshOfGrowing, 1.0},
    .onImaginaryAxis = {true, false, sineOfOther, cosineOfOther, 1.0}};
// coth z = cosh z / sinh z = (s·c - i·S·C)/(s² + S²)
constexpr QuotientShape hyperbolicCotangentShape{
    .growingIsReal = true,
    .near = {sinhOfGrowing, coshOfGrowing, sineOfOther, cosineOfOther, -1.0, sinhOfGrowing, sineOfOther},
    .far = FarForm::tangent, .unitSign = 1.0, .smallSign = -1.0,
    .cosineFirst = false, .realSign = PartSign::none, .imaginarySign = PartSign::none,
    .zeroOnRealAxis = zeroOfHyperbolicCotangentOnRealAxis, .zeroOnImaginaryAxis = zeroSignedBySine,
    .onRealAxis = {false, false, coshOfGrowing, sinhOfGrowing, 1.0},
    .onImaginaryAxis = {true, false, cosineOfOther, sineOfOther, -1.0}};
// sec z = (C·c + i·S·s)/(C² + s²); far from the real axis cos z ~ (e^|y|/2)(cos x, -sign y·sin x).
constexpr QuotientShape secantShape{
    .growingIsReal = false,
    .near = {cosineOfOther, coshOfGrowing, sineOfOther, sinhOfGrowing, 1.0, cosineOfOther, sinhOfGrowing},
    .far = FarForm::reciprocal, .unitSign = 0.0, .smallSign = 0.0,
    .cosineFirst = true, .realSign = PartSign::none, .imaginarySign = PartSign::ofGrowing,
    .zeroOnRealAxis = positiveZero, .zeroOnImaginaryAxis = zeroSignedByBothParts,
    .onRealAxis = {false, true, cosineOfOther, cosineOfOther, 1.0},
    .onImaginaryAxis = {false, true, coshOfGrowing, coshOfGrowing, 1.0}};
// csc z = (S·c - i·C·s)/(S² + s²); far from the real axis sin z ~ (e^|y|/2)(sin x, sign y·cos x).
constexpr QuotientShape cosecantShape{
    .growingIsReal = false,
    .near = {sineOfOther, coshOfGrowing, cosineOfOther, sinhOfGrowing, -1.0, sineOfOther, sinhOfGrowing},
    .far = FarForm::reciprocal, .unitSign = 0.0, .smallSign = 0.0,
    .cosineFirst = false, .realSign = PartSign::none, .imaginarySign = PartSign::againstGrowing,
    .zeroOnRealAxis = negativeZero, .zeroOnImaginaryAxis = zeroSignedByRe,
    .onRealAxis = {false, true, sineOfOther, sineOfOther, 1.0},
    .onImaginaryAxis = {true, true, sinhOfGrowing, sinhOfGrowing, -1.0}};
// sech z = (c·C - i·s·S)/(s² + C²); far from the imaginary axis cosh z ~ (e^|x|/2)(cos y, sign x·sin y).
constexpr QuotientShape hyperbolicSecantShape{
    .growingIsReal = true,
    .near = {coshOfGrowing, cosineOfOther, sinhOfGrowing, sineOfOther, -1.0, sinhOfGrowing, cosineOfOther},
    .far = FarForm::reciprocal, .unitSign = 0.0, .smallSign = 0.0,
    .cosineFirst = true, .realSign = PartSign::none, .imaginarySign = PartSign::againstGrowing,
    .zeroOnRealAxis = zeroAgainstBothParts, .zeroOnImaginaryAxis = negativeZero,
    .onRealAxis = {false, true, coshOfGrowing, coshOfGrowing, 1.0},
    .onImaginaryAxis = {false, true, cosineOfOther, cosineOfOther, 1.0}};
// csch z = (s·C - i·c·S)/(s² + S²); far from the imaginary axis sinh z ~ (e^|x|/2)(sign x·cos y, sin y).
constexpr QuotientShape hyperbolicCosecantShape{
    .growingIsReal = true,
    .near = {sinhOfGrowing, cosineOfOther, coshOfGrowing, sineOfOther, -1.0, sinhOfGrowing, sineOfOther},
    .far = FarForm::reciprocal, .unitSign = 0.0, .smallSign = 0.0,
    .cosineFirst = true, .realSign = PartSign::ofGrowing, .imaginarySign = PartSign::minus,
    .zeroOnRealAxis = zeroAgainstIm, .zeroOnImaginaryAxis = positiveZero,
    .onRealAxis = {false, true, sinhOfGrowing, sinhOfGrowing, 1.0},
    .onImaginaryAxis = {true, true, sineOfOther, sineOfOther, -1.0}};

// A part before its rounding: value within bound/2 of itself, or, when settled, the part.
// A far small part that rounds to zero is +0, as the far forms have always given it.
struct WidePart {
    ScaledDoubleDouble value;
    double bound;
    bool settled;
    double settledValue;
    bool positiveWhenZero;
};

WidePart widePart(ScaledDoubleDouble value, double bound, bool positiveWhenZero = false) {
    return {value, bound, false, 0.0, positiveWhenZero};
}
WidePart settledPart(double value) { return {{{0.0, 0.0}, 0}, 0.0, true, value, false}; }
// The part with a zero ingredient, on an axis: its sign is the axis rule's.
WidePart zeroPart() { return widePart({{0.0, 0.0}, 0}, 0.0); }

struct WideQuotient {
    WidePart re, im;
    double sine, cosine;  // of t, for their signs
};

// The near formula: from the ingredients as they are when all are moderate, else from the
// ingredients scaled into [1/2, 1)·2^k.
WideQuotient nearQuotient(const NearShape& shape, double g, double t, Precision precision) {
    WideIngredients w = wideIngredients(g, t, precision);
    const double bound = precision == Precision::fast ? nearQuotientBound : accuratePartBound;
    DoubleDouble plain[4];
    bool allModerate = true;
    for (int i = 0; i < 4; ++i) {
        plain[i] = w.part[i].exponent == 0 ? w.part[i].value : ddTimesPowerOfTwo(w.part[i].value, w.part[i].exponent);
        allModerate = allModerate && moderate(plain[i]);
    }
    ScaledDoubleDouble re{}, im{};
    if (allModerate) {
        const DoubleDouble divisor = ddAdd(ddMultiply(plain[shape.e], plain[shape.e]), ddMultiply(plain[shape.f], plain[shape.f]));
        re = {ddDivide(ddMultiply(plain[shape.a], plain[shape.b]), divisor), 0};
        im = {ddDivide(ddMultiply(plain[shape.c], plain[shape.d]), divisor), 0};
    } else {
        for (ScaledDoubleDouble& part : w.part) part = normalised(part);
        const ScaledDoubleDouble divisor = sumOfSquares(w.part[shape.e], w.part[shape.f]);
        re = quotient(product(w.part[shape.a], w.part[shape.b]), divisor);
        im = quotient(product(w.part[shape.c], w.part[shape.d]), divisor);
    }
    if (shape.sign < 0.0) im.value = negated(im.value);
    return {widePart(re, bound), widePart(im, bound), plain[sineOfOther].high, plain[cosineOfOther].high};
}

// The quotient on an axis: the real quotient of the two ingredients scaled into [1/2, 1),
// within 2^-63 + 2^-103 of itself; the other part zero.
WideQuotient axisQuotient(const AxisQuotient& axis, double g, double t) {
    const WideIngredients w = wideIngredients(g, t, Precision::fast);
    const ScaledDoubleDouble numerator = axis.unitNumerator ? ScaledDoubleDouble{{0.5, 0.0}, 1} : normalised(w.part[axis.numerator]);
    const ScaledDoubleDouble denominator = normalised(w.part[axis.denominator]);
    ScaledDoubleDouble value = quotient(numerator, denominator);
    if (axis.sign < 0.0) value.value = negated(value.value);
    const WidePart part = widePart(value, axisQuotientBound);
    const double sine = w.part[sineOfOther].value.high, cosine = w.part[cosineOfOther].value.high;
    return axis.imaginary ? WideQuotient{zeroPart(), part, sine, cosine} : WideQuotient{part, zeroPart(), sine, cosine};
}

// The small part of a tangent form: smallSign·4·S·C·e^-2|g|.
WidePart farSmallPart(const QuotientShape& shape, double magnitude, ScaledDoubleDouble sine, ScaledDoubleDouble cosine) {
    if (sine.value.high == 0.0) return zeroPart();
    if (magnitude > vanishingSmallPart) return settledPart(+0.0);
    const ScaledDoubleDouble e = scaledWideExponential(-2.0 * magnitude);
    const double decay = scaledByPowerOfTwo(e.value.high, e.exponent);
    ScaledDoubleDouble value = product(product(sine, cosine), e);
    value.value = times(4.0 * shape.smallSign, value.value);
    return widePart(value, farPartBound + farSmallPartDecay * decay, true);
}

// A part of a reciprocal form: sign·2·factor·e^-|g|, with e^-|g| given.
WidePart farReciprocalPart(double sign, ScaledDoubleDouble factor, double magnitude, ScaledDoubleDouble e, double bound) {
    if (factor.value.high == 0.0) return zeroPart();
    if (magnitude > vanishingReciprocalPart) return settledPart(std::copysign(0.0, sign * factor.value.high));
    ScaledDoubleDouble value = product(factor, e);
    value.value = times(2.0 * sign, value.value);
    return widePart(value, bound);
}

WideQuotient farQuotient(const QuotientShape& shape, double g, double t) {
    const real::WideSineCosine c = real::wideSinCos(t);
    const ScaledDoubleDouble sine = normalised(c.sine), cosine = normalised(c.cosine);
    const double magnitude = std::fabs(g);
    if (shape.far == FarForm::tangent) {
        const WidePart small = farSmallPart(shape, magnitude, sine, cosine);
        const WidePart large = settledPart(shape.unitSign * signOf(g));
        return shape.growingIsReal ? WideQuotient{large, small, c.sine.high, c.cosine.high}
                                   : WideQuotient{small, large, c.sine.high, c.cosine.high};
    }
    ScaledDoubleDouble e{{0.0, 0.0}, 0};
    double bound = 0.0;
    if (magnitude <= vanishingReciprocalPart) {
        e = scaledWideExponential(-magnitude);
        const double unit = scaledByPowerOfTwo(e.value.high, e.exponent);
        bound = farPartBound + farReciprocalPartDecay * unit * unit;
    }
    return {farReciprocalPart(signFactor(shape.realSign, g), shape.cosineFirst ? cosine : sine, magnitude, e, bound),
            farReciprocalPart(signFactor(shape.imaginarySign, g), shape.cosineFirst ? sine : cosine, magnitude, e, bound),
            c.sine.high, c.cosine.high};
}

WideQuotient fastQuotient(const QuotientShape& shape, Complex z, double g, double t) {
    if (std::fabs(g) > farQuotientArgument) return farQuotient(shape, g, t);
    if (isZero(z.im)) return axisQuotient(shape.onRealAxis, g, t);
    if (isZero(z.re)) return axisQuotient(shape.onImaginaryAxis, g, t);
    return nearQuotient(shape.near, g, t, Precision::fast);
}

// The parts of one quotient at z: the fast forms at once, the accurate near formula (its
// scaled ingredients keep every |g| up to 746 in range) when a part first needs it.
class QuotientParts {
public:
    QuotientParts(const QuotientShape& shape, Complex z, PartPath path)
        : shape_(shape), path_(path), z_(z), g_(shape.growingIsReal ? z.re : z.im), t_(shape.growingIsReal ? z.im : z.re),
          fast_(fastQuotient(shape, z, g_, t_)) {}

    double rounded(bool imaginary) {
        const WidePart& part = imaginary ? fast_.im : fast_.re;
        if (part.settled) return part.settledValue;
        if (part.value.value.high == 0.0)  // a zero ingredient: z is on an axis
            return isZero(z_.im) ? shape_.zeroOnRealAxis(z_, fast_.sine, fast_.cosine)
                                 : shape_.zeroOnImaginaryAxis(z_, fast_.sine, fast_.cosine);
        double result = 0.0;
        if (!(path_ == PartPath::fastFirst && (decided(part, result) || decidedAccurately(imaginary, result))))
            result = roundedByBalls([&](int bits) { return nearPartOnBalls(shape_.near, imaginary, g_, t_, bits); });
        return part.positiveWhenZero && result == 0.0 ? +0.0 : result;
    }

private:
    static bool decided(const WidePart& part, double& result) {
        return decidedPart(part.value.value, part.value.exponent, part.bound, result);
    }

    bool decidedAccurately(bool imaginary, double& result) {
        if (!(std::fabs(t_) < largestAccurateCircularArgument)) return false;
        if (!accurateFormed_) {
            accurate_ = nearQuotient(shape_.near, g_, t_, Precision::accurate);
            accurateFormed_ = true;
        }
        return decided(imaginary ? accurate_.im : accurate_.re, result);
    }

    const QuotientShape& shape_;
    PartPath path_;
    Complex z_;
    double g_;
    double t_;
    WideQuotient fast_;
    WideQuotient accurate_{};
    bool accurateFormed_ = false;
};

const QuotientShape& shapeOf(Quotient function) {
    switch (function) {
        case Quotient::tangent: return tangentShape;
        case Quotient::cotangent: return cotangentShape;
        case Quotient::hyperbolicTangent: return hyperbolicTangentShape;
        case Quotient::hyperbolicCotangent: return hyperbolicCotangentShape;
        case Quotient::secant: return secantShape;
        case Quotient::cosecant: return cosecantShape;
        case Quotient::hyperbolicSecant: return hyperbolicSecantShape;
        default: return hyperbolicCosecantShape;
    }
}

}  // namespace

Complex roundedQuotient(Quotient function, Complex z, PartPath path) {
    QuotientParts parts(shapeOf(function), z, path);
    const double re = parts.rounded(false);
    return {re, parts.rounded(true)};
}

}  // namespace kx
