// Portable real sin and cos, computed in double-double arithmetic and rounded once at the end.
//
// x = (4k + q)·pi/2 + r with |r| <= pi/4 (a hair more), r a double-double good to about
// 2^-100 relative (argument_reduction.cpp). Then sin r = r·S(r²) and cos r = C(r²) with
// the Taylor series (13 and 14 terms, truncation below 2^-90), the leading eight
// coefficients as double-doubles (tools/generate_real_tables.py).
//
// Accuracy: before the final rounding the double-double result is within about 2^-49 ulp
// of the exact value, as measured against mpmath on random samples. It is rounded where the
// test against accurateBound decides, else the part is evaluated on balls
// (fast_path_rounding.h): each part is correctly rounded (sin x and cos x are
// transcendental for x != 0; below 2^-27 they round to x and 1).
//
// Fast path (fast_path_rounding.h): the short reduction with lighter sums and the short
// kernels below, whose bounds are derived at the kernels.
#include "real/sin_cos.h"

#include <cmath>
#include <cstddef>

#include "core/complex.h"
#include "core/double_double.h"
#include "real/argument_reduction.h"
#include "real/ball_functions.h"
#include "real/double_bits.h"
#include "real/fast_path_rounding.h"
#include "real/series.h"
#include "real/tables.h"

namespace kx::real {

using namespace tables;

namespace {

// Below this |x|, sin x rounds to x and cos x to 1 (x²/6 and x²/2 are below half an ulp).
constexpr double tinyArgument = 0x1p-27;
// |x| below this: sin x = x and cos x = 1 to well below 2^-106 (x²/6 < 2^-106 |x|).
constexpr double wideTinyArgument = 0x1p-54;

DoubleDouble sineKernel(DoubleDouble r) {
    return ddMultiplyWithTwoSum(polynomial(ddMultiplyWithTwoSum(r, r), sineLeading, sineTrailing), r);
}

DoubleDouble cosineKernel(DoubleDouble r) { return polynomial(ddMultiplyWithTwoSum(r, r), cosineLeading, cosineTrailing); }

// sin r for |r| <= pi/4 + 2^-50, r good to 2^-100 relative. s = r², |s| <= 0.6169.
// sin r / r = sum_{i<=9} c_i s^i, c_i = (-1)^i/(2i+1)!; c_0..c_2 in double-double,
// T = sum_{i=3..9} c_i s^(i-3) by Horner in double on s.high. Errors relative to
// sin r / r >= 0.9: truncation |c_10| s^10 <= 1.6e-22 (2^-72.4); the doubles c_i.high,
// 2^-53 of sum_{i>=3} |c_i s^i| <= 4.7e-5 (2^-67.4); the Horner rounding and s.high,
// at most 2^-53·2.5e-4 on |T| <= 1/5040, times s³ <= 0.236 (2^-67.1); the double-double
// steps and r, below 2^-98. Sum below 2^-66; the test uses 2^-63.
constexpr double fastSineBound = 0x1p-63;
constexpr std::size_t fastSineTrailingUsed = 2;  // sineTrailing[0..1] are c_8 and c_9

DoubleDouble fastSineKernel(DoubleDouble r) {
    const DoubleDouble s = ddMultiplyWithTwoSum(r, r);
    const double tail = plainTail(s.high, sineLeading, 3, sineTrailing, fastSineTrailingUsed);
    return ddMultiplyWithTwoSum(leadingHorner(s, sineLeading, 3, tail), r);
}

// cos r = sum_{i<=10} c_i s^i, c_i = (-1)^i/(2i)!; c_0..c_3 in double-double, the rest by
// Horner in double. Relative to cos r >= 0.707: truncation s^11/22! <= 4.4e-24 (2^-77);
// the doubles c_i.high, 2^-53 of sum_{i>=4} |c_i s^i| <= 3.7e-6 (2^-71); the Horner
// rounding, at most 2^-53·2.7e-5 on |T| <= 1/40320, times s^4 <= 0.145 (2^-70.5); the
// double-double steps below 2^-98. Sum below 2^-69; the test uses 2^-63.
constexpr double fastCosineBound = 0x1p-63;
constexpr std::size_t fastCosineTrailingUsed = 3;  // cosineTrailing[0..2] are c_8..c_10

DoubleDouble fastCosineKernel(DoubleDouble r) {
    const DoubleDouble s = ddMultiplyWithTwoSum(r, r);
    const double tail = plainTail(s.high, cosineLeading, 4, cosineTrailing, fastCosineTrailingUsed);
    return leadingHorner(s, cosineLeading, 4, tail);
}

// sin r (sine) or cos r, rounded: the fast kernel when it decides the rounding.
// The fast kernel's value rounded into result when it decides the rounding.
bool fastRemainderValue(DoubleDouble (*kernel)(DoubleDouble), double bound, DoubleDouble r, double& result) {
    const DoubleDouble fast = kernel(r);
    if (!roundingDecided(fast, bound)) return false;
    result = fast.high;
    return true;
}

// sin x and cos x from the rounded sine and cosine of the remainder (either may be left
// out, then its value is ignored): the quadrant permutes and signs them.
SineCosine fromQuadrant(double x, int quadrant, double sine, double cosine) {
    double sinePart = 0.0;
    double cosinePart = 0.0;
    switch (quadrant) {
        case 0: sinePart = sine; cosinePart = cosine; break;
        case 1: sinePart = cosine; cosinePart = -sine; break;
        case 2: sinePart = -sine; cosinePart = -cosine; break;
        default: sinePart = -cosine; cosinePart = sine; break;
    }
    return {x < 0.0 ? -sinePart : sinePart, cosinePart};  // sin is odd, cos even
}

// sin and cos of a NaN or an infinity: a NaN passes through, an infinity gives the default
// NaN. Chosen, not computed as x - x, whose NaN is the processor's: 0x7FF8... but on x86,
// and on RISC-V the one canonical NaN whatever the payload of x.
double nanOfNonFinite(double x) { return std::isnan(x) ? x : defaultNaN; }

enum class Wanted { sine, cosine, both };

// Whether the sine kernel (or the cosine kernel) gives a wanted part of x in this quadrant:
// sin x is ±cos r and cos x is ±sin r in odd quadrants.
bool kernelNeeded(Wanted wanted, int quadrant, bool sineKernel) {
    const bool odd = (quadrant & 1) != 0;
    return wanted == Wanted::both || ((wanted == (sineKernel ? Wanted::sine : Wanted::cosine)) != odd);
}

double sineByBalls(double x) {
    return roundedByBalls([x](int bits) { return sinCos(Ball(x, bits)).sine; });
}

double cosineByBalls(double x) {
    return roundedByBalls([x](int bits) { return sinCos(Ball(x, bits)).cosine; });
}

// sin x and cos x from the accurate reduction of |x| and the kernels (either may be left
// out, as in fromQuadrant): each kernel's value rounded where its test decides, else the
// part of x it becomes (sin x from the sine's in even quadrants, from the cosine's in odd
// ones) evaluated on balls.
SineCosine accurateCircular(double x, const Reduction& reduction, Wanted wanted) {
    const bool sineNeeded = kernelNeeded(wanted, reduction.quadrant, true);
    const bool cosineNeeded = kernelNeeded(wanted, reduction.quadrant, false);
    const DoubleDouble sine = sineNeeded ? sineKernel(reduction.remainder) : DoubleDouble{0.0, 0.0};
    const DoubleDouble cosine = cosineNeeded ? cosineKernel(reduction.remainder) : DoubleDouble{0.0, 0.0};
    SineCosine result = fromQuadrant(x, reduction.quadrant, sine.high, cosine.high);
    const bool sineDecided = !sineNeeded || accurateRoundingDecided(sine, accurateBound);
    const bool cosineDecided = !cosineNeeded || accurateRoundingDecided(cosine, accurateBound);
    const bool odd = (reduction.quadrant & 1) != 0;
    if (!(odd ? cosineDecided : sineDecided)) result.sine = sineByBalls(x);
    if (!(odd ? sineDecided : cosineDecided)) result.cosine = cosineByBalls(x);
    return result;
}

SineCosine circular(double x, Wanted wanted) {
    if (!(std::fabs(x) <= largestDouble)) {
        const double nan = nanOfNonFinite(x);
        return {nan, nan};
    }
    const double magnitude = std::fabs(x);
    if (magnitude < tinyArgument) return {x, 1.0};
    // The fast path keeps the short reduction also where it leaves |r| < 2^-40: its error,
    // at most n·2^-150 + 2^-136 < 2^-129 (and 2^-104·|r|), is below 2^-68.6 of |r|, since no double below 2^21 lies
    // nearer than 2^-60.4 to a multiple of pi/2 (an exhaustive search over the multiples);
    // that is well inside the slack of the kernels' bounds.
    const Reduction fast = magnitude < shortReductionLimit ? fastReduceShort(magnitude) : reduceLong(magnitude);
    const bool sineNeeded = kernelNeeded(wanted, fast.quadrant, true);
    const bool cosineNeeded = kernelNeeded(wanted, fast.quadrant, false);
    double sine = 0.0;
    double cosine = 0.0;
    if ((!sineNeeded || fastRemainderValue(fastSineKernel, fastSineBound, fast.remainder, sine)) &&
        (!cosineNeeded || fastRemainderValue(fastCosineKernel, fastCosineBound, fast.remainder, cosine)))
        return fromQuadrant(x, fast.quadrant, sine, cosine);
    return accurateCircular(x, reduce(magnitude), wanted);  // the accurate reduction and kernels
}

// x = x.high + x.low: the high part is reduced as sin and cos reduce a double, then the low
// part joins the remainder; a remainder pushed past pi/4 by it moves one quadrant. The
// accurate and the fast variant differ only in the reduction and the kernels.
template <Reduction (*reduceHigh)(double), DoubleDouble (*sineOf)(DoubleDouble), DoubleDouble (*cosineOf)(DoubleDouble)>
WideSineCosine sinCosOfWide(DoubleDouble x) {
    const bool negative = x.high < 0.0;
    const DoubleDouble magnitude = negative ? negated(x) : x;
    Reduction reduction = reduceHigh(magnitude.high);
    DoubleDouble r = ddAddWithTwoSums(reduction.remainder, {magnitude.low, 0.0});
    if (r.high > quarterPi) {
        r = ddAddWithTwoSums(r, negated(halfPi));
        reduction.quadrant = (reduction.quadrant + 1) & 3;
    } else if (r.high < -quarterPi) {
        r = ddAddWithTwoSums(r, halfPi);
        reduction.quadrant = (reduction.quadrant + 3) & 3;
    }
    const DoubleDouble sine = sineOf(r);
    const DoubleDouble cosine = cosineOf(r);
    WideSineCosine result{};
    switch (reduction.quadrant) {
        case 0: result = {sine, cosine}; break;
        case 1: result = {cosine, negated(sine)}; break;
        case 2: result = {negated(sine), negated(cosine)}; break;
        default: result = {negated(cosine), sine}; break;
    }
    if (negative) result.sine = negated(result.sine);
    return result;
}

}  // namespace

SineCosine sinCos(double x) { return circular(x, Wanted::both); }

double sin(double x) { return circular(x, Wanted::sine).sine; }

double cos(double x) { return circular(x, Wanted::cosine).cosine; }

// The fast path's reduction and kernels, unrounded: the kernels are within 2^-66 of sin r and
// cos r relative, the reduction within 2^-68.6 of |r| (see circular), so each part is within
// 2^-64. Below tinyArgument sin x = x - x³/6 and cos x = 1 - x²/2 to far below 2^-100.
WideSineCosine wideSinCos(double x) {
    if (!(std::fabs(x) <= largestDouble)) {
        const double nan = nanOfNonFinite(x);
        return {{nan, 0.0}, {nan, 0.0}};
    }
    const double magnitude = std::fabs(x);
    if (magnitude < tinyArgument) return {fastTwoSum(x, -(x * x * x) / 6.0), fastTwoSum(1.0, -0.5 * (x * x))};
    const Reduction reduction = magnitude < shortReductionLimit ? fastReduceShort(magnitude) : reduceLong(magnitude);
    const DoubleDouble sine = fastSineKernel(reduction.remainder);
    const DoubleDouble cosine = fastCosineKernel(reduction.remainder);
    DoubleDouble sinePart = sine, cosinePart = cosine;
    switch (reduction.quadrant) {
        case 0: break;
        case 1: sinePart = cosine; cosinePart = negated(sine); break;
        case 2: sinePart = negated(sine); cosinePart = negated(cosine); break;
        default: sinePart = negated(cosine); cosinePart = sine; break;
    }
    return {x < 0.0 ? negated(sinePart) : sinePart, cosinePart};
}

namespace accurate {

SineCosine sinCos(double x) {
    if (!(std::fabs(x) <= largestDouble)) {
        const double nan = nanOfNonFinite(x);
        return {nan, nan};
    }
    const double magnitude = std::fabs(x);
    if (magnitude < tinyArgument) return {x, 1.0};
    return accurateCircular(x, reduce(magnitude), Wanted::both);
}

}  // namespace accurate

namespace wide {

WideSineCosine sinCos(DoubleDouble x) {
    if (std::fabs(x.high) < wideTinyArgument) return {x, {1.0, 0.0}};
    return sinCosOfWide<reduce, sineKernel, cosineKernel>(x);
}

// As sinCos, with the fast reduction and kernels: the reduction's error (at most 2^-129 +
// 2^-104·|r|, see circular) and the sums adding x.low and a quarter turn are absolute
// errors of the remainder below 2^-102; the kernels add 2^-66 of each part.
WideSineCosine fastSinCos(DoubleDouble x) {
    return sinCosOfWide<fastReduceShort, fastSineKernel, fastCosineKernel>(x);
}

}  // namespace wide

}  // namespace kx::real
