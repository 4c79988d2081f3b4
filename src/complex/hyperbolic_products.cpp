// Scaled hyperbolic products, from the library's own double-double exponential and IEEE
// double operations only, so that they are the same doubles on every platform.
//
// With t = |a|, the product is P·2^k rounded once, where P = m·h is a double-double: b =
// m·2^e with 1/2 <= |m| < 1, and cosh t or sinh t = h·2^f (k = e + f). h is
//   - below farArgument: cosh t = (E + 1/E)/2 and, for t >= 1/2, sinh t = (E - 1/E)/2, with
//     E = e^t a double-double (sinh loses at most a factor coth(1/2) = 2.17 to cancellation);
//   - sinh t for t < 1/2: t·(sinh t/t) by the series sum s^i/(2i+1)!, s = t², which is the
//     sine's series taken at -s (whose sign undoes the alternating signs of its terms);
//   - from farArgument on: e^t/2 for both (e^-t is below 2^-115 of e^t), the value of e^t
//     kept apart from its power of two, so the product overflows only when it is itself
//     beyond the double range, and underflows gradually (the rounding is done on the
//     subnormal grid when P·2^k is subnormal).
// b·e^a is formed the same way from e^a. Beyond |t| = 745, e^t is (e^(t/2))² (t/2 exact).
//
// Each product is first formed with the fast exponential (relative error below 2^-65.3):
// the error of P is then below 2^-64 (2.17·2^-65.3 for sinh, 2·2^-65.3 for a square, the
// series below 2^-70, the double-double steps about 2^-100). When every number within
// 2^-63 of P·2^k rounds to the same double, that is the correctly rounded product;
// otherwise (P within 2^-63 of a halfway point: about one product in several hundred) it is
// formed again with the accurate exponential (error about 2^-99) and that result is rounded.
// So the products are correctly rounded unless the exact value lies within about 2^-45 ulp
// of a halfway point: no incorrectly rounded one among 300,000 random products measured
// against mpmath (tools/reference/measure_hyperbolic_products.py), subnormal ones included.
//
// The same cosh t, sinh t and e^t, unrounded with their powers of two apart
// (scaledWideSinhCosh, scaledWideExponential and their accurate forms), are the factors of the
// parts of exp and of the circular and hyperbolic functions, which round them correctly
// (product_parts.h, circular.cpp); those take the products here for their special arguments.
#include "complex/hyperbolic_products.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/double_bits.h"
#include "real/exp.h"
#include "real/tables.h"

namespace kx {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Beyond this, e^-2t < 2^-115: the smaller exponential no longer reaches the result.
constexpr double farArgument = 40.0;
// Beyond this, |b|·e^t/2 exceeds the double range even for the smallest subnormal b:
// ln(2·DBL_MAX / 2^-1074) = 2099·ln 2 = 1454.9.
constexpr double overflowingArgument = 1455.0;
// The largest argument of the exponential's reduction; above it e^t is squared from e^(t/2).
constexpr double exponentialLimit = 745.0;
// Below this, sinh t comes from its series; from it on, (E - 1/E)/2 cancels at most 2.17.
constexpr double seriesLimit = 0.5;
// The fast products' error is below 2^-64; the rounding test allows twice that.
constexpr double fastProductBound = 0x1p-63;

// A double-double times 2^exponent, exactly (both parts stay normal where it is used).
DoubleDouble scaled(DoubleDouble value, int exponent) {
    const double factor = powerOfTwo(exponent);
    return {value.high * factor, value.low * factor};
}

// A double-double times 2^exponent, with the value's rounding when it is decided: when
// the numbers within relativeBound·|value| on either side round alike.
bool decidedRounding(DoubleDouble value, int exponent, double relativeBound, double& result) {
    const double margin = relativeBound * std::fabs(value.high);
    result = real::wide::roundTimesPowerOfTwo({value.high, value.low - margin}, exponent);
    return result == real::wide::roundTimesPowerOfTwo({value.high, value.low + margin}, exponent);
}

enum class Precision { fast, accurate };

// e^t for |t| <= overflowingArgument.
ScaledDoubleDouble exponentialOf(double t, Precision precision) {
    const bool large = std::fabs(t) > exponentialLimit;
    const double reduced = large ? 0.5 * t : t;
    const ScaledDoubleDouble e =
        precision == Precision::fast ? real::exponentialParts(reduced) : real::accurate::exponentialParts(reduced);
    if (!large) return {e.value, e.exponent};
    return {ddMultiply(e.value, e.value), 2 * e.exponent};
}

// sinh t / t = sum_i s^i/(2i+1)! for s = t², 0 <= t < seriesLimit (s < 1/4): the sine's
// series at -s. The fast form takes the first three coefficients as double-doubles and the
// next seven (to s^9; truncation below 2^-75) as doubles: the doubles' errors are below
// 2^-53 of the terms from s³/7! <= 2^-18.3 on, so below 2^-70. The accurate form takes all
// the sine's coefficients, eight as double-doubles (to s^12; errors about 2^-104).
DoubleDouble sinhOverArgument(double t, Precision precision) {
    using real::tables::sineLeading;
    using real::tables::sineTrailing;
    const DoubleDouble minusS = negated(twoProduct(t, t));
    const bool fast = precision == Precision::fast;
    const std::size_t leadingUsed = fast ? 3 : std::size(sineLeading);
    const std::size_t trailingUsed = fast ? 2 : std::size(sineTrailing);
    double tail = 0.0;
    for (std::size_t index = trailingUsed; index-- > 0;) tail = tail * minusS.high + sineTrailing[index];
    for (std::size_t index = std::size(sineLeading); index-- > leadingUsed;)
        tail = tail * minusS.high + sineLeading[index].high;
    DoubleDouble sum{tail, 0.0};
    for (std::size_t index = leadingUsed; index-- > 0;) sum = ddAdd(ddMultiply(sum, minusS), sineLeading[index]);
    return sum;
}

enum class Hyperbolic { cosine, sine };

// cosh t or sinh t for 0 < t < overflowingArgument, as h·2^exponent with h in [1/4, 2^59].
ScaledDoubleDouble hyperbolicOf(Hyperbolic function, double t, Precision precision) {
    if (function == Hyperbolic::sine && t < seriesLimit) {
        int exponent = 0;
        const double mantissa = std::frexp(t, &exponent);  // exact, also for a subnormal t
        return {ddMultiply({mantissa, 0.0}, sinhOverArgument(t, precision)), exponent};
    }
    const ScaledDoubleDouble e = exponentialOf(t, precision);
    if (t >= farArgument) return {e.value, e.exponent - 1};  // e^t/2
    const DoubleDouble exponential = scaled(e.value, e.exponent);  // below 2^58
    const DoubleDouble reciprocal = ddDivide({1.0, 0.0}, exponential);
    const DoubleDouble sum =
        function == Hyperbolic::cosine ? ddAdd(exponential, reciprocal) : ddSubtract(exponential, reciprocal);
    return {sum, -1};
}

// b·h·2^exponent rounded once, for finite nonzero b (b = m·2^e exactly, m·h a
// double-double), when that rounding is decided within relativeBound.
bool decidedProduct(double b, ScaledDoubleDouble factor, double relativeBound, double& result) {
    int exponentOfB = 0;
    const double mantissaOfB = std::frexp(b, &exponentOfB);
    const DoubleDouble product = ddMultiply({mantissaOfB, 0.0}, factor.value);
    return decidedRounding(product, factor.exponent + exponentOfB, relativeBound, result);
}

// b·cosh t or b·sinh t for 0 < t < overflowingArgument and finite nonzero b.
double hyperbolicProduct(Hyperbolic function, double t, double b) {
    double result = 0.0;
    if (decidedProduct(b, hyperbolicOf(function, t, Precision::fast), fastProductBound, result)) return result;
    decidedProduct(b, hyperbolicOf(function, t, Precision::accurate), 0.0, result);
    return result;
}

// b·e^|a|/2 (both products) for |a| >= farArgument, a not NaN, b nonzero and not NaN.
double farProduct(Hyperbolic function, double a, double b) {
    const double t = std::fabs(a);
    if (t >= overflowingArgument) return b * infinity;  // ±inf, by b's sign
    return hyperbolicProduct(function, t, b);
}

// h·2^exponent as one double-double (its parts stay normal where it is used, or lose only
// bits far below the value of a subnormal argument's sinh).
DoubleDouble unscaled(ScaledDoubleDouble h) { return ddTimesPowerOfTwo(h.value, h.exponent); }


// cosh t and sinh t from one exponential: cosh t = (E + 1/E)/2, sinh t the same difference
// from 1/2 on and the series below; both e^t/2 from farArgument on (e^-t is then below
// 2^-115 of e^t). Errors of the fast forms: the fast exponential's 2^-65.3, times
// coth(1/2) = 2.17 for the difference, the series' 2^-70, e^t squared from e^(t/2) beyond
// 745 2^-64.3: below 2^-64. The accurate forms: about 2^-99.
ScaledSinhCosh sinhCoshOf(double x, Precision precision) {
    const double t = std::fabs(x);
    ScaledSinhCosh result{};
    if (t >= farArgument) {
        const ScaledDoubleDouble e = exponentialOf(t, precision);
        result = {{e.value, e.exponent - 1}, {e.value, e.exponent - 1}};
    } else {
        const DoubleDouble e = unscaled(exponentialOf(t, precision));
        const DoubleDouble reciprocal = ddDivide({1.0, 0.0}, e);
        const DoubleDouble sum = ddAdd(e, reciprocal);
        const DoubleDouble difference = ddSubtract(e, reciprocal);
        result.sinh = t < seriesLimit ? hyperbolicOf(Hyperbolic::sine, t, precision) : ScaledDoubleDouble{difference, -1};
        result.cosh = {sum, -1};
    }
    if (x < 0.0) result.sinh.value = negated(result.sinh.value);
    return result;
}

}  // namespace

ScaledSinhCosh scaledWideSinhCosh(double x) { return sinhCoshOf(x, Precision::fast); }
ScaledSinhCosh scaledAccurateSinhCosh(double x) { return sinhCoshOf(x, Precision::accurate); }

ScaledDoubleDouble scaledWideExponential(double t) { return exponentialOf(t, Precision::fast); }
ScaledDoubleDouble scaledAccurateExponential(double t) { return exponentialOf(t, Precision::accurate); }


double scaledCosh(double a, double b) {
    if (std::isnan(a)) return a;
    if (a == 0.0) return b;  // C(0, b) = b, exactly
    if (b == 0.0 || std::isnan(b)) return b;  // no 0·inf; cosh a > 0 keeps the sign of b
    if (std::isinf(b)) return b;  // cosh a >= 1
    if (std::fabs(a) >= farArgument) return farProduct(Hyperbolic::cosine, a, b);
    return hyperbolicProduct(Hyperbolic::cosine, std::fabs(a), b);
}

double scaledSinh(double a, double b) {
    if (std::isnan(a)) return a;
    if (a == 0.0) return +0.0;  // S(0, b) = +0 whatever b
    if (b == 0.0) return std::signbit(a) ? -b : b;  // the sign of b·sinh a
    if (std::isnan(b)) return b;
    const double signedB = std::signbit(a) ? -b : b;  // sinh is odd: b·sinh a = (±b)·sinh|a|
    if (std::isinf(b)) return signedB;
    if (std::fabs(a) >= farArgument) return farProduct(Hyperbolic::sine, a, signedB);
    return hyperbolicProduct(Hyperbolic::sine, std::fabs(a), signedB);
}

double exponentialProduct(double a, double b) {
    if (std::isnan(a)) return a;
    if (b == 0.0 || std::isnan(b)) return b;
    if (a >= overflowingArgument) return b * infinity;
    if (a <= -overflowingArgument) return b * 0.0;  // below half the smallest subnormal: a signed zero
    if (std::isinf(b)) return b;
    double result = 0.0;
    if (decidedProduct(b, exponentialOf(a, Precision::fast), fastProductBound, result)) return result;
    decidedProduct(b, exponentialOf(a, Precision::accurate), 0.0, result);
    return result;
}

}  // namespace kx
