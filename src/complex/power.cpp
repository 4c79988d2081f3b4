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
// |z| = 1) and arg z, w·ln z with an absolute error of about 2^-100·|w|·|ln z| from its
// products and sums, then e^Re, cos Im and sin Im of that wider argument, each part
// rounded once. Parts that are small because z is near an axis keep their digits: arg z is
// held as quarter turns plus the angle from the axis (u times the quarter turns reduced
// exactly modulo 4), and an angle below 2^-60 as the ratio of the parts scaled near 1.
//
// Each evaluation carries bounds as it goes: ln|z| within a kernel error of itself (plus,
// near |z| = 1 on the fast path, 3 times the rounding of x² + y² - 1's low terms over
// |x² + y² - 1|), Re and Im of w·ln z within the kernel error of the terms from logarithms
// and angles plus 2^-100 of every term, so a part e^Re·cos Im within the product's error
// plus err(Re) of itself plus err(Im)·|e^Re·sin Im| (likewise the sine). The error of Im
// grows with |Im|, and cos and sin pass it on in absolute terms: a part is kept only when
// every value within twice its bound rounds to the same normal double, and is then
// correctly rounded. The fast kernels of src/real (errors below 2^-65) answer all but about
// one call in 30 to 100 for parts and exponents of a few units, more as |w·ln z| grows,
// and every call whose smaller part cancels to below about 2^-50 of the larger, or whose
// result is subnormal or beyond |Re| = 745 or |Im| = 2^20. The base e (the double nearest
// e) has ln z = 1 + lambda with a tabulated lambda, so its Im is the double v reduced
// exactly by pi/2 plus v·lambda: e^(i·pi), and e^(i·v) up to |v| = 2^74 (where |v·lambda|
// reaches the fast kernels' 2^20), keep their small parts. The same formulas with
// the accurate kernels (about 2^-100) answer most of the rest, up to |Im| = 2^50. What they
// leave undecided (parts within about 2^-85 of a rounding boundary, a large |Im| whose
// 2^-100·|Im| reaches the last bits, results below the normal range or overflowing) is
// evaluated on balls of doubling precision, which round correctly, on the subnormal grid
// too.
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
#include "complex/logarithm_parts.h"
#include "core/ball.h"
#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/argument_reduction.h"
#include "real/ball_functions.h"
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

// The nearest axis's angle in quarter turns, for z = x + iy, y not zero: theta = atan(y/x)
// (x > 0), ±pi ∓ atan(|y|/|x|) (x < 0), ±pi/2 - atan(x/y) (|y| > |x|).
int axisQuarterTurns(Complex z) {
    if (std::fabs(z.im) <= std::fabs(z.re)) return z.re > 0.0 ? 0 : (z.im > 0.0 ? 2 : -2);
    return z.im > 0.0 ? 1 : -1;
}

// The angle of z = x + iy, y not zero, both finite, measured from the nearest axis;
// arctangent(small, large) is atan(small/large) (real::wide::atan2 or its fast variant).
AxisAngle axisAngle(Complex z, DoubleDouble (*arctangent)(double, double)) {
    const double ax = std::fabs(z.re);
    const double ay = std::fabs(z.im);
    const bool nearReal = ay <= ax;
    const double small = nearReal ? ay : ax;
    const double large = nearReal ? ax : ay;
    const int quarterTurns = axisQuarterTurns(z);
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

// The a of quarterTurnsOfMultiple (exact).
double turnFraction(double u, int k) {
    const double turns = std::fmod(u * k, 4.0);
    return turns - std::nearbyint(turns);
}


// --- the power with error bounds: fast kernels, then accurate ones ---
//
// The formulas above with the kernels of src/real, carrying a bound on the absolute error
// of Re and Im of w·ln z, then on the relative error of each part of e^Re·(cos Im, sin Im).
// A part is taken only when every value within its bound rounds to the same double and
// that double is normal: it is then the correctly rounded part. The fast kernels answer
// all but about one call in a hundred; the accurate ones (errors near 2^-100) all but
// those whose parts lie within about 2^-85 of a rounding boundary, whose angle Im is
// beyond 2^50 or whose absolute error (2^-100 of |Im|) is too large for the smaller part,
// whose results are below the normal range or overflow: those take the balls below.

// The double-double sums and products forming Im: 2^-104 of each term, counted as 2^-100
// of |Im| plus the quarter-turn term.
constexpr double wideArithmeticError = 0x1p-100;
// Factors below 2^-900 could leave a Dekker product's low part below the normal range.
constexpr double smallestBoundedFactor = 0x1p-900;

bool fastLogOfModulus(Complex z, DoubleDouble& result, double& relativeError);

struct FastKernels {
    // Relative error of fastLog, fastLog1p and fastAtan (below 2^-65.4) with the
    // double-double products and sums after them (2^-104 each).
    static constexpr double logarithmError = 0x1p-65;
    // Relative error of a product e^a·t from fastExp (2^-65.3), the kernels of fastSinCos
    // (2^-66 of each part) and ddMultiply (2^-104): below 2^-64.5.
    static constexpr double productError = 0x1p-64;
    // fastSinCos's absolute error in its argument, from |Im| = pi/4 on (below it the
    // reduction subtracts nothing and its error is relative, inside wideArithmeticError).
    static constexpr double reductionError = 0x1p-102;
    static constexpr bool exactBelowQuarterTurn = true;
    static constexpr bool wholeCalls = true;  // both parts decided, or the call goes on
    // The kernels' ranges: fastExp for |Re| <= 745, fastSinCos for |Im| < 2^20.
    static constexpr double exponentLimit = 745.0;
    static constexpr double angleLimit = 0x1p20;
    static bool logOfModulus(Complex z, DoubleDouble& result, double& relativeError) {
        return fastLogOfModulus(z, result, relativeError);
    }
    static DoubleDouble log(double x) { return real::wide::fastLog({x, 0.0}); }
    static DoubleDouble atan(double smaller, double larger) { return real::wide::fastAtan(smaller, larger); }
    static ScaledDoubleDouble exp(DoubleDouble a) { return real::wide::fastExp(a); }
    static real::WideSineCosine sinCos(DoubleDouble x) { return real::wide::fastSinCos(x); }
};

// The accurate kernels' errors are near 2^-100 (wideLogOfModulus's d within 2^-103 of
// itself, log, log1p, atan2 and exp relative, sinCos absolute, below |Im| = 2^50); the
// bounds below leave them a margin of 2^8 and more.
struct AccurateKernels {
    static constexpr double logarithmError = 0x1p-92;
    static constexpr double productError = 0x1p-91;
    // sinCos's absolute error, counted as an error in its argument (the other part's
    // magnitude times it, at least 0.7 of it when the part is small).
    static constexpr double reductionError = 0x1p-95;
    static constexpr bool exactBelowQuarterTurn = false;
    static constexpr bool wholeCalls = false;
    static constexpr double exponentLimit = exponentialProductLimit;
    static constexpr double angleLimit = 0x1p50;
    static bool logOfModulus(Complex z, DoubleDouble& result, double& relativeError) {
        result = wideLogOfModulus(z);
        relativeError = logarithmError;
        return true;
    }
    static DoubleDouble log(double x) { return real::wide::log({x, 0.0}); }
    static DoubleDouble atan(double smaller, double larger) { return real::wide::atan2(smaller, larger); }
    static ScaledDoubleDouble exp(DoubleDouble a) { return real::wide::exp(a); }
    static real::WideSineCosine sinCos(DoubleDouble x) { return real::wide::sinCos(x); }
};

// What the balls need of a call that the bounds leave undecided: the quarter turns that
// turn e^Re·(cos Im, sin Im) into the result, the exact fraction of a quarter turn left in
// Im by u·k (quarterTurnsOfMultiple), Re as a double (for the ranges where the result is
// zero or infinite whatever the angle), whether every term of Im is exactly zero (the
// sine part is then +0, as the bounded paths give it) and whether every term of Re is
// (e^Re is then 1).
struct BallShape {
    int quarterTurns = 0;
    double turnFraction = 0.0;
    double re = 0.0;
    bool zeroAngle = false;
    bool zeroRe = false;
};

// The absolute error of Im = im as sinCos sees it: kernelError from the logarithms and
// angles in it, terms the magnitudes of its other terms than turnTerm, the quarter-turn term.
template <class Kernels>
double angleError(double kernelError, double terms, double turnTerm, double im) {
    constexpr double reductionStart = 0.78;
    const double magnitude = std::fabs(im);
    const double reduction = magnitude < reductionStart && Kernels::exactBelowQuarterTurn ? 0.0 : Kernels::reductionError;
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
    relativeError = FastKernels::logarithmError;
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

// The parts a bounded evaluation decided, as bits.
using DecidedParts = unsigned;
constexpr DecidedParts noPart = 0;
constexpr DecidedParts realPart = 1;
constexpr DecidedParts imaginaryPart = 2;
constexpr DecidedParts bothParts = realPart | imaginaryPart;

// (cosine, sine) turned by quarterTurns·pi/2 and multiplied by e^a, each part rounded
// once; the sine is sine·2^-sineShift. a has absolute error aError, cosine and sine the
// relative errors of the kernels plus those of an absolute error angleError in their
// argument (zero when the sine is scaled, sineShift > 0). The margins are twice the
// bounds, for their own roundings; e^aError - 1 <= 1.001·aError wherever a margin can
// decide (aError < 2^-50). A zero sine with no angle error comes from an Im whose terms
// are all exactly zero: that part is +0, whatever the turn. The fast kernels decide both
// parts or neither (the call then takes the accurate ones), the accurate ones each part
// on its own (the other then takes the balls).
template <class Kernels>
DecidedParts boundedTurnedScaledProducts(DoubleDouble a, double aError, DoubleDouble cosine, DoubleDouble sine,
                                         int sineShift, int quarterTurns, double angleError, Complex& result) {
    const bool zeroSine = sine.high == 0.0 && angleError == 0.0;
    if (!(std::fabs(a.high) <= Kernels::exponentLimit) || !(std::fabs(cosine.high) >= smallestBoundedFactor) ||
        !(zeroSine || std::fabs(sine.high) >= smallestBoundedFactor))
        return noPart;
    // |cos(x + eta) - cos x| <= eta·|sin x| + eta², likewise for sin, times m.value <= 2.02
    const double cross = 2.0 * 1.001 * angleError;
    const double square = angleError * 2.02;
    const double smallerFactor = std::min(std::fabs(cosine.high), zeroSine ? 1.0 : std::fabs(sine.high));
    if (Kernels::wholeCalls && undecidedByAngle(angleError, smallerFactor)) return noPart;
    const ScaledDoubleDouble m = Kernels::exp(a);
    const DoubleDouble c = ddMultiply(cosine, m.value);
    const DoubleDouble s = ddMultiply(sine, m.value);
    const double relative = 2.0 * (Kernels::productError + 1.001 * aError);
    double cosinePart = 0.0;
    double sinePart = 0.0;
    const bool cosineDecided =
        decidedPart(c, relative * std::fabs(c.high) + cross * (std::fabs(s.high) + square), m.exponent, cosinePart);
    if (Kernels::wholeCalls && !cosineDecided) return noPart;
    const bool sineDecided = zeroSine || decidedPart(s, relative * std::fabs(s.high) + cross * (std::fabs(c.high) + square),
                                                     m.exponent - sineShift, sinePart);
    if (Kernels::wholeCalls && !sineDecided) return noPart;
    const double negatedSine = zeroSine ? +0.0 : -sinePart;
    const bool cosineIsReal = (quarterTurns & 1) == 0;
    switch (quarterTurns & 3) {
        case 0: result = {cosinePart, sinePart}; break;
        case 1: result = {negatedSine, cosinePart}; break;
        case 2: result = {-cosinePart, negatedSine}; break;
        default: result = {sinePart, -cosinePart}; break;
    }
    return (cosineDecided ? (cosineIsReal ? realPart : imaginaryPart) : noPart) |
           (sineDecided ? (cosineIsReal ? imaginaryPart : realPart) : noPart);
}

// e^p, each part rounded once; Re and Im of p have absolute errors reError and imError.
template <class Kernels>
DecidedParts boundedWideExp(const WideExponent& p, double reError, double imError, Complex& result) {
    if (!(std::fabs(p.im.high) < Kernels::angleLimit)) return noPart;
    // As in boundedTurnedScaledProducts, but before the kernels run: the smaller factor is
    // at most the angle's distance to the nearest quarter turn.
    const double quarterTurnsNear = std::nearbyint(p.im.high * (2.0 / real::tables::pi.high));
    const double distance = std::fabs(p.im.high - quarterTurnsNear * real::tables::halfPi.high);
    if (Kernels::wholeCalls && undecidedByAngle(imError, distance)) return noPart;
    const bool zeroAngle = p.im.high == 0.0 && p.im.low == 0.0;  // the kernels would give these exactly
    const real::WideSineCosine angle = zeroAngle ? real::WideSineCosine{{0.0, 0.0}, {1.0, 0.0}} : Kernels::sinCos(p.im);
    return boundedTurnedScaledProducts<Kernels>(p.re, reError, angle.cosine, angle.sine, 0, p.quarterTurns, imError, result);
}

// z^u = e^(u·ln z) for z not real and finite, u real. When u·arg z is a whole number of
// quarter turns plus u times a ratio of the parts that is negligible as an angle, the
// sine is that product, still scaled: a part such as u·y·x^(u-1) keeps its digits below
// the normal range.
template <class Kernels>
DecidedParts boundedRealPowerOfComplexBase(Complex z, double u, Complex& result, BallShape& shape) {
    DoubleDouble logOfModulus{};
    double logError = 0.0;
    if (!Kernels::logOfModulus(z, logOfModulus, logError)) return noPart;
    const DoubleDouble re = times(u, logOfModulus);
    const double reError = (logError + wideArithmeticError) * std::fabs(re.high);
    const AxisAngle angle = axisAngle(z, Kernels::atan);
    DoubleDouble turnTerm{0.0, 0.0};
    const int quarterTurns = quarterTurnsOfMultiple(u, angle.quarterTurns, turnTerm);
    const DoubleDouble offsetTimesU = times(u, angle.offset);
    shape = {quarterTurns, turnFraction(u, angle.quarterTurns), re.high, turnTerm.high == 0.0 && offsetTimesU.high == 0.0,
             re.high == 0.0};
    if (turnTerm.high == 0.0 && angle.shift != 0 &&
        std::fabs(offsetTimesU.high) < scaledByPowerOfTwo(negligibleAngle, angle.shift))
        return boundedTurnedScaledProducts<Kernels>(re, reError, {1.0, 0.0}, offsetTimesU, angle.shift, quarterTurns, 0.0, result);
    const DoubleDouble offset = unscaled(offsetTimesU, angle.shift);
    const DoubleDouble im = ddAdd(turnTerm, offset);
    const double imError = angleError<Kernels>(Kernels::logarithmError * std::fabs(offset.high), std::fabs(offset.high),
                                               turnTerm.high, im.high);
    return boundedWideExp<Kernels>({re, im, quarterTurns}, reError, imError, result);
}

// z^w = e^(w·ln z) for z not real and w not real, both finite: Re = u·ln|z| - v·arg z,
// Im = u·arg z + v·ln|z|, with u·arg z in quarter turns as above.
template <class Kernels>
DecidedParts boundedComplexPowerOfComplexBase(Complex z, Complex w, Complex& result, BallShape& shape) {
    DoubleDouble logOfModulus{};
    double logError = 0.0;
    if (!Kernels::logOfModulus(z, logOfModulus, logError)) return noPart;
    const AxisAngle angle = axisAngle(z, Kernels::atan);
    const DoubleDouble offset = unscaled(angle.offset, angle.shift);
    const DoubleDouble argument = ddAdd(times(angle.quarterTurns, real::tables::halfPi), offset);
    const DoubleDouble vLog = times(w.im, logOfModulus);
    DoubleDouble turnTerm{0.0, 0.0};
    const int quarterTurns = quarterTurnsOfMultiple(w.re, angle.quarterTurns, turnTerm);
    const DoubleDouble uOffset = times(w.re, offset);
    const DoubleDouble im = ddAdd(ddAdd(vLog, turnTerm), uOffset);
    const DoubleDouble uLog = times(w.re, logOfModulus);
    const DoubleDouble vArgument = times(w.im, argument);
    const DoubleDouble re = ddSubtract(uLog, vArgument);
    shape = {quarterTurns, turnFraction(w.re, angle.quarterTurns), re.high,
             vLog.high == 0.0 && turnTerm.high == 0.0 && uOffset.high == 0.0, uLog.high == 0.0 && vArgument.high == 0.0};
    const double reError = (logError + wideArithmeticError) * std::fabs(uLog.high) +
                           (Kernels::logarithmError + wideArithmeticError) * std::fabs(vArgument.high);
    const double imError =
        angleError<Kernels>(logError * std::fabs(vLog.high) + Kernels::logarithmError * std::fabs(uOffset.high),
                            std::fabs(vLog.high) + std::fabs(uOffset.high), turnTerm.high, im.high);
    return boundedWideExp<Kernels>({re, im, quarterTurns}, reError, imError, result);
}

// x^w = e^(w·ln x) for a real base x > 0 and w not real, both finite.
template <class Kernels>
DecidedParts boundedComplexPowerOfPositiveBase(double x, Complex w, Complex& result, BallShape& shape) {
    const DoubleDouble l = Kernels::log(x);
    const DoubleDouble re = times(w.re, l);
    const DoubleDouble im = times(w.im, l);
    shape = {0, 0.0, re.high, im.high == 0.0, re.high == 0.0};
    const double reError = (Kernels::logarithmError + wideArithmeticError) * std::fabs(re.high);
    const double imError = angleError<Kernels>(Kernels::logarithmError * std::fabs(im.high), 0.0, 0.0, im.high);
    return boundedWideExp<Kernels>({re, im, 0}, reError, imError, result);
}

template <class Kernels>
DecidedParts boundedPower(Complex z, Complex w, Complex& result, BallShape& shape) {
    if (w.im == 0.0) return boundedRealPowerOfComplexBase<Kernels>(z, w.re, result, shape);
    if (z.im == 0.0) return boundedComplexPowerOfPositiveBase<Kernels>(z.re, w, result, shape);
    return boundedComplexPowerOfComplexBase<Kernels>(z, w, result, shape);
}


// --- the base e ---
//
// For the base e_d = nearestE (the double nearest e, imaginary part ±0) ln z = 1 + lambda,
// lambda = lnNearestEMinusOne ≈ -5.3e-17 a double-double constant (tables.h, relative error
// 2^-106), so w·ln z = (u + u·lambda) + i(v + v·lambda) with no logarithm to evaluate and
// no cancellation against pi left in the angle: the double v is reduced by pi/2 as sin v
// is (|v| = (4k + q)·pi/2 + r, reduce), and v·lambda joins the remainder. Errors:
//   - u·lambda and v·lambda (ddMultiply): 2^-104 of themselves, with lambda's 2^-106 below
//     2^-102; where a product or its low part leaves the normal range (|u| or |v| below
//     about 2^-900), at most a few units of 2^-1074 absolutely, counted as 2^-1000;
//   - u + u·lambda (ddAdd, no cancellation, |u·lambda| < 2^-53·|u|): 2^-104 of the sum;
//     so Re within 2^-101·|u| + 2^-1000;
//   - r: the short reduction within n·2^-150 < 2^-130 plus 2^-103 of |r| (its pi/2 to
//     2^-150, its two-sum additions), the long one within 2^-102 of |r| (the 224-bit
//     window of 2/pi, the product by pi/2 in double-double); below |v| = pi/4 r is v;
//   - ±r + v·lambda (ddAddWithTwoSums, which may cancel): 3·2^-106 of |Im| beside the
//     quarter turns, inside angleError's 2^-100 of it.
// So Im within 2^-100·|r| + 2^-102·|v·lambda| + 2^-129 + 2^-1000 plus angleError's own
// terms (the kernels' reduction of Im when it reaches pi/4). An angle whose remainder
// cancels to near zero gets a bound large against its sine and is left undecided.

// Below this |u| or |v|, u·lambda or v·lambda may lose digits below the normal range.
constexpr double underflowAllowance = 0x1p-1000;

struct BoundedExponent {
    WideExponent p;
    double reError;
    double imError;  // before the kernels' own terms (angleError)
};

// w·ln e_d for w = u + iv, v not zero, both finite.
BoundedExponent exponentOfNearestE(Complex w) {
    const double u = w.re;
    const double v = w.im;
    const DoubleDouble uLambda = times(u, real::tables::lnNearestEMinusOne);
    const DoubleDouble vLambda = times(v, real::tables::lnNearestEMinusOne);
    const double magnitude = std::fabs(v);
    real::Reduction reduction{0, {magnitude, 0.0}};
    double reductionError = 0.0;
    if (magnitude > real::tables::quarterPi) {
        reduction = real::reduce(magnitude);
        reductionError = 0x1p-100 * std::fabs(reduction.remainder.high) + 0x1p-129;
    }
    const bool negative = v < 0.0;
    const DoubleDouble im = ddAddWithTwoSums(negative ? negated(reduction.remainder) : reduction.remainder, vLambda);
    const int quarterTurns = negative ? -reduction.quadrant : reduction.quadrant;
    const double reError = 0x1p-101 * std::fabs(u) + underflowAllowance;
    const double imError = reductionError + 0x1p-102 * std::fabs(vLambda.high) + underflowAllowance;
    return {{ddAdd({u, 0.0}, uLambda), im, quarterTurns}, reError, imError};
}

template <class Kernels>
DecidedParts boundedPowerOfNearestE(const BoundedExponent& e, Complex& result) {
    const double imError = angleError<Kernels>(e.imError, 0.0, 0.0, e.p.im.high);
    return boundedWideExp<Kernels>(e.p, e.reError, imError, result);
}


// --- the power on balls ---
//
// The calls the bounds leave undecided: each part is e^Re·(±cos Im or ±sin Im) on balls
// of doubling precision (roundedByBalls), Re and Im formed as above with ln|z| and the
// angle from the axis on balls: Re = u·ln|z| - v·(k·pi/2 + phi), Im = v·ln|z| +
// f·pi/2 + u·phi beside the quarter turns n (u·k = n + f exactly), phi = ±atan(small part /
// large part). sinCos reduces Im exactly, so a large |Im| costs only bits: the precision
// doubles until the ball rounds (|Im| < 2^910 needs at most about 1100). The parts are
// transcendental but where the bounded paths recognise them exactly (a zero sine, e^0 = 1),
// so the balls decide. Beyond |Re| = 1842 the part is zero or infinite, with the sign of its
// correctly rounded factor ±cos Im or ±sin Im.

Ball angleOffsetOnBalls(Complex z, int bits) {
    const double ax = std::fabs(z.re);
    const double ay = std::fabs(z.im);
    const bool nearReal = ay <= ax;
    const double small = nearReal ? ay : ax;
    const double large = nearReal ? ax : ay;
    const bool negativeOffset = nearReal ? (z.re > 0.0) == (z.im < 0.0) : (z.re > 0.0) == (z.im > 0.0);
    if (small == 0.0) return Ball(0.0, bits);
    const Ball offset = real::atan2(Ball(small, bits), Ball(large, bits));
    return negativeOffset ? -offset : offset;
}

struct BallExponent {
    Ball re;
    Ball im;
};

// w·ln z on balls as above (z real and positive, or not real).
BallExponent exponentOnBalls(Complex z, Complex w, const BallShape& shape, int bits) {
    const Ball u(w.re, bits);
    const Ball v(w.im, bits);
    if (z.im == 0.0) {
        const Ball l = real::log(Ball(z.re, bits));
        return {u * l, v * l};
    }
    const Ball l = logOfModulusOnBalls(z, bits);
    const Ball offset = angleOffsetOnBalls(z, bits);
    const Ball halfPi = scaled(real::pi(bits), -1);
    const int k = axisQuarterTurns(z);
    Ball re = u * l;
    Ball im = u * offset;
    if (shape.turnFraction != 0.0) im = im + Ball(shape.turnFraction, bits) * halfPi;
    if (w.im != 0.0) {
        re = re - v * (Ball(static_cast<double>(k), bits) * halfPi + offset);
        im = im + v * l;
    }
    return {re, im};
}

// The factor of e^Re in one part: cos Im, sin Im or their negations as the quarter turns
// give them.
Ball turnedFactorOnBalls(const Ball& angle, int quarterTurns, bool imaginary) {
    const real::BallSineCosine both = real::sinCos(angle);
    switch (quarterTurns & 3) {
        case 0: return imaginary ? both.sine : both.cosine;
        case 1: return imaginary ? both.cosine : -both.sine;
        case 2: return imaginary ? -both.sine : -both.cosine;
        default: return imaginary ? -both.cosine : both.sine;
    }
}

double partOnBalls(Complex z, Complex w, const BallShape& shape, bool imaginary) {
    const bool sinePart = imaginary == ((shape.quarterTurns & 1) == 0);
    if (sinePart && shape.zeroAngle) return +0.0;
    if (std::fabs(shape.re) > exponentialProductLimit) {
        const double factor = roundedByBalls(
            [&](int bits) { return turnedFactorOnBalls(exponentOnBalls(z, w, shape, bits).im, shape.quarterTurns, imaginary); });
        return scaledExponentialProduct(shape.re, factor);
    }
    return roundedByBalls([&](int bits) {
        const BallExponent p = exponentOnBalls(z, w, shape, bits);
        const Ball factor = turnedFactorOnBalls(p.im, shape.quarterTurns, imaginary);
        return shape.zeroRe ? factor : real::exp(p.re) * factor;
    });
}

// Which kernels the power uses: the fast ones first, or the accurate ones only (for the
// tests that check the fast path never changes a result).
enum class PowerPath { fastFirst, accurateOnly };

// A part counts as zero when it equals zero, of either sign; a NaN part is not zero.
// Finite operands take the paths above (an integer exponent its own); the rest, whose
// results are NaN, infinite or zero by the conventions of ln and exp, take those.
template <PowerPath path>
Complex powerBy(Complex base, Complex exponent) {
    constexpr bool fast = path == PowerPath::fastFirst;
    const bool realExponent = exponent.im == 0.0;
    const bool realBase = base.im == 0.0;
    if (realExponent && realBase) return {real::pow(base.re, exponent.re), +0.0};
    const bool finite = std::isfinite(base.re) && std::isfinite(base.im) &&
                        std::fabs(exponent.re) <= largestWideExponent && std::fabs(exponent.im) <= largestWideExponent;
    if (realExponent) {
        if (!finite) return exp(multiply({exponent.re, +0.0}, ln(base)));
        const double u = exponent.re;
        if (std::fabs(u) >= 1.0 && std::fabs(u) <= largestIntegerPower && std::nearbyint(u) == u)
            return integerPower(base, static_cast<int>(u));
    } else if (realBase) {
        if (!(finite && base.re > 0.0)) {
            const double l = real::log(base.re);  // NaN for a negative base, -inf for zero
            return exp({l * exponent.re, l * exponent.im});
        }
    } else if (!finite) {
        return exp(multiply(exponent, ln(base)));
    }
    Complex result{};
    Complex nearestEResult{};
    DecidedParts nearestEDecided = noPart;
    if (realBase && base.re == real::tables::nearestE) {
        const BoundedExponent e = exponentOfNearestE(exponent);
        if (fast && boundedPowerOfNearestE<FastKernels>(e, result) == bothParts) return result;
        nearestEDecided = boundedPowerOfNearestE<AccurateKernels>(e, nearestEResult);
        if (nearestEDecided == bothParts) return nearestEResult;
    }
    BallShape shape{};
    if (fast && nearestEDecided == noPart && boundedPower<FastKernels>(base, exponent, result, shape) == bothParts)
        return result;
    const DecidedParts decided = boundedPower<AccurateKernels>(base, exponent, result, shape);
    if (nearestEDecided & realPart) result.re = nearestEResult.re;
    if (nearestEDecided & imaginaryPart) result.im = nearestEResult.im;
    if (!((decided | nearestEDecided) & realPart)) result.re = partOnBalls(base, exponent, shape, false);
    if (!((decided | nearestEDecided) & imaginaryPart)) result.im = partOnBalls(base, exponent, shape, true);
    return result;
}

}  // namespace

Complex power(Complex base, Complex exponent) { return powerBy<PowerPath::fastFirst>(base, exponent); }

namespace accurate {
Complex power(Complex base, Complex exponent) { return powerBy<PowerPath::accurateOnly>(base, exponent); }
}  // namespace accurate

}  // namespace kx
