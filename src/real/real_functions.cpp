// Portable real sin, cos, atan2, log, log1p, exp and pow, computed in double-double arithmetic and
// rounded once at the end.
//
// sin and cos: x = (4k + q)·pi/2 + r with |r| <= pi/4 (a hair more), r a double-double.
//   For |x| < 2^20 the reduction is Cody and Waite's: n = round(x·2/pi), and x - n·pi/2
//   with pi/2 in three 33-bit parts and a fourth (n·part is exact for n < 2^20), which
//   carries pi/2 to 2^-150. Where that leaves |r| < 2^-40 (x within 2^-40 of a multiple
//   of pi/2, the cancellation eating the parts' precision) and for every larger |x|, the
//   reduction is Payne and Hanek's, done in integers: x = M·2^e (M a 53-bit integer)
//   times a 224-bit window of 2/pi starting where the bits before it only add multiples
//   of 4, so the product holds the quadrant in its top two bits and the fraction to
//   2^-169 absolutely; the fraction times pi/2 (a double-double) is r. No double is
//   nearer than about 2^-62 to a multiple of pi/2, so r is always good to about 2^-100
//   relative. Then sin r = r·S(r²) and cos r = C(r²) with the Taylor series (13 and 14
//   terms, truncation below 2^-90), the leading eight coefficients as double-doubles.
// atan2: the angle of (|x|, |y|) is atan(q) or pi/2 - atan(q) with q = min/max <= 1 (a
//   double-double quotient of the parts scaled alike), reflected to pi - angle for x < 0
//   (or x = -0), signed by y. atan q = atan(j/8) + atan u, u = (q - j/8)/(1 + q·j/8),
//   |u| <= 1/16, by its series (14 terms); atan(j/8) from a table.
// log: x = m·2^k with m in [sqrt(1/2), sqrt(2)), ln m = 2·atanh(f), f = (m - 1)/(m + 1),
//   |f| <= 0.1716, by the series of atanh(f)/f in f² (22 terms), plus k·ln2 with ln 2 in
//   three parts. log1p(u) for 1 + u in [0.71, 1.41] is 2·atanh(u/(2 + u)) (u exact),
//   elsewhere ln of 1 + u rounded plus the rounding error's share, low/high - (low/high)²/2.
// exp: t = n·ln2 + r with ln 2 in three parts, e^r by its Taylor series (22 terms,
//   |r| <= 0.347), scaled by 2^n; a subnormal result is rounded once, by forming
//   1 + e^r·2^(n+1022) in double-double and rounding that on the grid of 2^-52.
// pow: the special cases of C99 Annex F as glibc gives them, then e^(y·ln x) with ln x
//   and y·ln x as double-doubles (relative error below 2^-100, so the product is good to
//   about 2^-90 absolutely where it does not overflow). An integer power of an integer
//   whose exact value fits 63 bits is formed exactly, since it may lie exactly halfway
//   between two doubles, where an approximation could round to either side.
//
// Accuracy: before the final rounding the double-double result is within about 2^-49 ulp
// of the exact value for sin, cos, log, log1p and atan2, and within 2^-43 ulp for pow
// (the error of ln x grows with |y·ln x| up to 745), as measured against mpmath on random
// samples. So each result is correctly rounded unless the exact value lies within about
// 2^-40 ulp of a halfway point between two doubles, and within 0.5 + 2^-40 ulp always.
//
// Fast paths: each function first computes a double-double with a proven relative error
// bound of about 2^-65 (reductions by tables of sixty-fourths for exp, log and atan2, the
// short sine and cosine kernels, the polynomial tails in plain doubles; derivations at the
// fast kernels) and returns its rounding when every number within 2^-63 of it (at least
// twice the bound) rounds the same way. That result is then the correctly rounded one,
// which the accurate path gives too; otherwise (one call in a few hundred) it decides.
// So results are those of the accurate path whenever it is correctly rounded. The
// accurate paths stay callable as kx::real::accurate (for the tests). The fast kernels are
// also offered unrounded on double-double arguments (wide::fastLog, fastLog1p, fastAtan,
// fastExp, fastSinCos) for the complex power's own fast path, which checks its rounding.
// Coefficients, the bits of 2/pi and the split constants: tools/generate_real_function_tables.py.
#include "real/real_functions.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/complex.h"
#include "core/double_double.h"
#include "real/real_function_tables.h"

namespace kx::real {
namespace {

using namespace tables;

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double largestDouble = std::numeric_limits<double>::max();

// Below this |x|, sin x rounds to x and cos x to 1 (x²/6 and x²/2 are below half an ulp).
constexpr double tinyArgument = 0x1p-27;
// The Cody–Waite reduction is exact in its products for n < 2^20, so for |x| below 2^20.
constexpr double shortReductionLimit = 0x1p20;
// Below this |r| the short reduction has lost too much to cancellation (its error is at
// most n·2^-150 < 2^-130): the long reduction takes over.
constexpr double shortReductionSmallestRemainder = 0x1p-40;
constexpr double squareRootOfHalf = 0x1.6a09e667f3bcdp-1;
// log1p: below this |u| the result rounds to u; inside [nearOneLow, nearOneHigh]
// ln(1 + u) = 2·atanh(u/(2 + u)) with |u/(2 + u)| <= 0.1716.
constexpr double tinyLogArgument = 0x1p-54;
constexpr double nearOneLow = -0.29;
constexpr double nearOneHigh = 0.414;
// atan2: when the smaller part is below 2^-60 of the larger, atan of their ratio rounds to
// the ratio; quarterPi and threeQuartersPi are pi/4 and 3pi/4 rounded.
constexpr int tinyRatioExponent = 60;
constexpr double quarterPi = 0x1.921fb54442d18p-1;
constexpr double threeQuartersPi = 0x1.2d97c7f3321d2p+1;
// |y·ln x| above this is an overflow or underflow of every pow (e^746 > 2^1076).
constexpr double exponentArgumentLimit = 746.0;
constexpr int smallestNormalExponent = -1022;

DoubleDouble negate(DoubleDouble a) { return {-a.high, -a.low}; }

// a + b with relative error about 2^-104 (both parts summed with two-sums, renormalised).
DoubleDouble add(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble highs = twoSum(a.high, b.high);
    const DoubleDouble lows = twoSum(a.low, b.low);
    const DoubleDouble sum = twoSum(highs.high, highs.low + lows.high);
    return twoSum(sum.high, sum.low + lows.low);
}

DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = twoProduct(a.high, b.high);
    return twoSum(product.high, product.low + (a.high * b.low + a.low * b.high));
}

DoubleDouble multiply(DoubleDouble a, double b) {
    const DoubleDouble product = twoProduct(a.high, b);
    return twoSum(product.high, product.low + a.low * b);
}

// a / b by two correction steps on the quotient of the high parts.
DoubleDouble divide(DoubleDouble a, DoubleDouble b) {
    const double first = a.high / b.high;
    const DoubleDouble firstRemainder = add(a, negate(multiply(b, first)));
    const double second = firstRemainder.high / b.high;
    const DoubleDouble secondRemainder = add(firstRemainder, negate(multiply(b, second)));
    const double third = secondRemainder.high / b.high;
    return add(twoSum(first, second), {third, 0.0});
}

// sum c_i·x^i: the trailing (small) terms by Horner in double on x.high, then the leading
// coefficients by Horner in double-double.
template <std::size_t leadingCount, std::size_t trailingCount>
DoubleDouble polynomial(DoubleDouble x, const DoubleDouble (&leading)[leadingCount],
                        const double (&trailing)[trailingCount]) {
    double tail = trailing[trailingCount - 1];
    for (std::size_t index = trailingCount - 1; index-- > 0;) tail = tail * x.high + trailing[index];
    DoubleDouble sum{tail, 0.0};
    for (std::size_t index = leadingCount; index-- > 0;) sum = add(multiply(sum, x), leading[index]);
    return sum;
}

// 2^exponent for exponent in [-1022, 1023]: multiplying by it is exactly ldexp when the
// product is normal, and rounds the same way when it overflows.
double powerOfTwo(int exponent) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
}

// x = mantissa·2^(exponent - 53) with mantissa a 53-bit integer, for x positive and normal.
struct IntegerScaled {
    std::uint64_t mantissa;
    int exponent;  // as std::frexp gives it
};

IntegerScaled integerScaled(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    constexpr std::uint64_t hiddenBit = std::uint64_t{1} << 52;
    return {(bits & (hiddenBit - 1)) | hiddenBit, static_cast<int>(bits >> 52) - 1022};
}

// The integer nearest to v, ties to even, for |v| < 2^52 (adding 2^52 rounds away the
// fraction, subtracting it is exact).
double nearestInteger(double v) {
    constexpr double shifter = 0x1p52;
    const double magnitude = std::fabs(v);
    return std::copysign((magnitude + shifter) - shifter, v);
}

bool isInteger(double y) { return std::fabs(y) >= 0x1p52 || nearestInteger(y) == y; }  // y finite

bool isOddInteger(double y) { return std::fabs(y) < 0x1p53 && isInteger(y) && !isInteger(0.5 * y); }

// --- argument reduction by pi/2 ---

// x = (4k + quadrant)·pi/2 + remainder.
struct Reduction {
    int quadrant;
    DoubleDouble remainder;
};

Reduction reduceShort(double x) {  // 0 <= x < 2^20
    const double n = nearestInteger(x * twoOverPi);
    const double first = x - n * halfPiPart[0];  // exact: n·part is exact, and within a factor 2 of x
    DoubleDouble remainder = twoSum(first, -(n * halfPiPart[1]));
    remainder = add(remainder, {-(n * halfPiPart[2]), 0.0});
    remainder = add(remainder, negate(twoProduct(n, halfPiPart[3])));
    return {static_cast<int>(n) & 3, remainder};
}

// The short reduction for the fast path, with the same products but lighter sums: the
// first two differences are exact (two-sums), the low parts are summed in double. The
// error is at most n·2^-150 (pi/2 beyond its parts) plus 2^-104·|r| and 2^-136 (the low
// parts' roundings, their terms below 2^-52·(|r| + |n·part[2]|) with |n·part[2]| < 2^-48).
Reduction fastReduceShort(double x) {  // 0 <= x < 2^20
    const double n = nearestInteger(x * twoOverPi);
    const double first = x - n * halfPiPart[0];  // exact, as in reduceShort
    const DoubleDouble second = twoSum(first, -(n * halfPiPart[1]));
    const DoubleDouble third = twoSum(second.high, -(n * halfPiPart[2]));
    const double low = (second.low + third.low) - n * halfPiPart[3];
    return {static_cast<int>(n) & 3, twoSum(third.high, low)};
}

constexpr int twoOverPiWordCount = static_cast<int>(std::size(twoOverPiBits));
constexpr int windowWords = 7;                        // 224 bits of 2/pi
constexpr int productWords = windowWords + 2;         // times a 53-bit integer
constexpr int fractionBits = 32 * windowWords - 2;    // the product's binary point

// Bits firstBit .. firstBit + 31 of 2/pi (bit 1 has weight 1/2), with zeros before bit 1.
std::uint32_t twoOverPiWord(int firstBit) {
    const int offset = firstBit - 1;
    const int word = offset >= 0 ? offset / 32 : -((31 - offset) / 32);  // floor(offset / 32)
    const int shift = offset - 32 * word;
    const auto wordAt = [](int index) -> std::uint64_t {
        return index >= 0 && index < twoOverPiWordCount ? twoOverPiBits[index] : 0;
    };
    const std::uint64_t pair = (wordAt(word) << 32) | wordAt(word + 1);
    return static_cast<std::uint32_t>(pair >> (32 - shift));
}

Reduction reduceLong(double x) {  // x > 0, finite
    const auto [mantissa, exponent] = integerScaled(x);  // x >= 2^-27 is normal
    // Bits of 2/pi before bit exponent - 54 give x·2/pi multiples of 4 and are left out;
    // the product is then mantissa·window·2^-fractionBits.
    const int firstBit = exponent - 54;
    std::array<std::uint32_t, windowWords> window{};  // least significant word first
    for (int index = 0; index < windowWords; ++index)
        window[windowWords - 1 - index] = twoOverPiWord(firstBit + 32 * index);

    std::array<std::uint32_t, productWords> product{};
    const std::array<std::uint64_t, 2> mantissaWords{mantissa & 0xFFFFFFFFu, mantissa >> 32};
    for (int part = 0; part < 2; ++part) {
        std::uint64_t carry = 0;
        for (int index = 0; index < windowWords; ++index) {
            const std::uint64_t sum = mantissaWords[part] * window[index] + product[index + part] + carry;
            product[index + part] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        for (int index = windowWords + part; index < productWords; ++index) {
            const std::uint64_t sum = product[index] + carry;
            product[index] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
    }

    // Bits fractionBits and fractionBits + 1 (the top two of word windowWords - 1) are the
    // quadrant; the words above it are multiples of 4.
    constexpr int topWord = windowWords - 1;
    int quadrant = static_cast<int>(product[topWord] >> 30);
    std::array<std::uint32_t, windowWords> fractionWords{};
    for (int index = 0; index < windowWords; ++index) fractionWords[index] = product[index];
    fractionWords[topWord] &= 0x3FFFFFFFu;
    const bool aboveHalf = (fractionWords[topWord] >> 29) != 0;
    if (aboveHalf) {  // the fraction f >= 1/2 becomes f - 1, held as the magnitude 1 - f
        quadrant = (quadrant + 1) & 3;
        std::uint64_t borrow = 1;  // two's complement: ~f + 1
        for (auto& word : fractionWords) {
            const std::uint64_t sum = static_cast<std::uint64_t>(static_cast<std::uint32_t>(~word)) + borrow;
            word = static_cast<std::uint32_t>(sum);
            borrow = sum >> 32;
        }
        fractionWords[topWord] &= 0x3FFFFFFFu;
    }
    // The words as doubles are exact, their scaled sum in double-double has no cancellation.
    DoubleDouble magnitude{0.0, 0.0};
    for (int index = topWord; index >= 0; --index) {
        const double word = static_cast<double>(fractionWords[index]) * powerOfTwo(32 * index - fractionBits);
        magnitude = add(magnitude, {word, 0.0});
    }
    const DoubleDouble remainder = multiply(magnitude, halfPi);
    return {quadrant, aboveHalf ? negate(remainder) : remainder};
}

Reduction reduce(double x) {  // x > 0, finite
    if (x < shortReductionLimit) {
        const Reduction reduction = reduceShort(x);
        if (std::fabs(reduction.remainder.high) >= shortReductionSmallestRemainder) return reduction;
    }
    return reduceLong(x);
}

DoubleDouble sineKernel(DoubleDouble r) {
    return multiply(polynomial(multiply(r, r), sineLeading, sineTrailing), r);
}

DoubleDouble cosineKernel(DoubleDouble r) { return polynomial(multiply(r, r), cosineLeading, cosineTrailing); }

// --- fast paths ---
//
// Each fast kernel gives a double-double within a proven relative bound of the exact value
// (the derivations are at the kernels). When every number within that bound of it rounds
// to the same double, that double is the correctly rounded result, which the accurate
// path gives too; otherwise the accurate path decides.

// Whether all numbers within relativeBound·|value| of value.high + value.low round to
// value.high (value normalised, high = RN(high + low), normal and well inside the range).
// The margin is formed with rounding errors far below itself (|low| <= ulp(high)/2 and
// the bounds used are above 2^-70), and the bounds passed in carry a factor 2 of slack.
bool roundingDecided(DoubleDouble value, double relativeBound) {
    const double margin = relativeBound * std::fabs(value.high);
    return value.high + (value.low - margin) == value.high + (value.low + margin);
}

// Horner in plain doubles over coefficients.high of leading[first..] then trailing[..last].
template <std::size_t leadingCount, std::size_t trailingCount>
double plainTail(double x, const DoubleDouble (&leading)[leadingCount], std::size_t first,
                 const double (&trailing)[trailingCount], std::size_t trailingUsed) {
    double tail = 0.0;
    std::size_t index = trailingUsed;
    if (index > 0) {
        tail = trailing[--index];
        while (index-- > 0) tail = tail * x + trailing[index];
        for (std::size_t lead = leadingCount; lead-- > first;) tail = tail * x + leading[lead].high;
    } else {
        tail = leading[leadingCount - 1].high;
        for (std::size_t lead = leadingCount - 1; lead-- > first;) tail = tail * x + leading[lead].high;
    }
    return tail;
}

// c + x·p in double-double where |x·p| < |c| (so the sum of the highs needs only Dekker's
// fast two-sum); the result is left unnormalised, its low part within a few ulps of the
// high part's rounding error. Relative error about 2^-102.
DoubleDouble hornerStep(DoubleDouble c, DoubleDouble x, DoubleDouble p) {
    const DoubleDouble product = twoProduct(p.high, x.high);
    const double productLow = product.low + (p.high * x.low + p.low * x.high);
    const double high = c.high + product.high;
    const double highError = (c.high - high) + product.high;  // exact: |c.high| >= |product.high|
    return {high, highError + (c.low + productLow)};
}

// sum_{i < dd} leading[i]·x^i + x^dd·tail in double-double, Horner, normalised. Each term
// must exceed x times the rest of the sum after it, as in the alternating series here.
template <std::size_t leadingCount>
DoubleDouble leadingHorner(DoubleDouble x, const DoubleDouble (&leading)[leadingCount], std::size_t ddCount,
                           double tail) {
    DoubleDouble sum{tail, 0.0};
    for (std::size_t index = ddCount; index-- > 0;) sum = hornerStep(leading[index], x, sum);
    const double high = sum.high + sum.low;  // Dekker's fast two-sum: |low| < |high|
    return {high, sum.low - (high - sum.high)};
}

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
    const DoubleDouble s = multiply(r, r);
    const double tail = plainTail(s.high, sineLeading, 3, sineTrailing, fastSineTrailingUsed);
    return multiply(leadingHorner(s, sineLeading, 3, tail), r);
}

// cos r = sum_{i<=10} c_i s^i, c_i = (-1)^i/(2i)!; c_0..c_3 in double-double, the rest by
// Horner in double. Relative to cos r >= 0.707: truncation s^11/22! <= 4.4e-24 (2^-77);
// the doubles c_i.high, 2^-53 of sum_{i>=4} |c_i s^i| <= 3.7e-6 (2^-71); the Horner
// rounding, at most 2^-53·2.7e-5 on |T| <= 1/40320, times s^4 <= 0.145 (2^-70.5); the
// double-double steps below 2^-98. Sum below 2^-69; the test uses 2^-63.
constexpr double fastCosineBound = 0x1p-63;
constexpr std::size_t fastCosineTrailingUsed = 3;  // cosineTrailing[0..2] are c_8..c_10

DoubleDouble fastCosineKernel(DoubleDouble r) {
    const DoubleDouble s = multiply(r, r);
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

// --- logarithm and exponential in double-double ---

// 2·atanh(f) = ln((1 + f)/(1 - f)), for |f| <= 0.1716.
DoubleDouble twiceAtanh(DoubleDouble f) {
    const DoubleDouble series = polynomial(multiply(f, f), atanhLeading, atanhTrailing);
    return multiply(multiply(f, series), 2.0);
}

// ln x for x > 0 finite (normal or subnormal).
DoubleDouble logarithm(double x) {
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // exact, m in [1/2, 1)
    if (m < squareRootOfHalf) {
        m *= 2.0;
        exponent -= 1;
    }
    const DoubleDouble logM = twiceAtanh(divide({m - 1.0, 0.0}, twoSum(m, 1.0)));  // m - 1 is exact
    const double k = exponent;  // |k| <= 1075, so k·lnTwoPart[0] is exact
    DoubleDouble kLnTwo = add({k * lnTwoPart[0], 0.0}, twoProduct(k, lnTwoPart[1]));
    kLnTwo = add(kLnTwo, {k * lnTwoPart[2], 0.0});
    return add(kLnTwo, logM);
}

// e^t = value·2^exponent, value in about [0.7, 1.42], for |t.high| <= 746.
using ScaledValue = ScaledExponential;

ScaledValue exponential(DoubleDouble t) {
    const double n = nearestInteger(t.high * inverseLnTwo);
    // t.high - n·lnTwoPart[0] is exact: the product is exact and within a factor 2 of
    // t.high, or their difference is a multiple of the smaller ulp below 0.36.
    DoubleDouble r = twoSum(t.high - n * lnTwoPart[0], t.low);
    r = add(r, negate(twoProduct(n, lnTwoPart[1])));
    r = add(r, {-(n * lnTwoPart[2]), 0.0});
    return {polynomial(r, exponentialLeading, exponentialTrailing), static_cast<int>(n)};
}

// value·2^exponent rounded once to double, value positive in about [0.7, 1.42].
double roundScaled(DoubleDouble value, int exponent) {
    if (exponent > smallestNormalExponent) return std::ldexp(value.high + value.low, exponent);  // normal or overflow
    // z = value·2^(exponent+1022) is exact; if z < 1 the result is subnormal: 1 + z rounded
    // to double is rounded on the grid 2^-52, which 2^-1022 scales to the subnormal grid.
    const int shift = exponent - smallestNormalExponent;
    const DoubleDouble z{std::ldexp(value.high, shift), std::ldexp(value.low, shift)};
    if (z.high >= 1.0) return std::ldexp(z.high + z.low, smallestNormalExponent);
    const DoubleDouble onePlusZ = twoSum(1.0, z.high);
    const double rounded = onePlusZ.high + (onePlusZ.low + z.low);
    return std::ldexp(rounded - 1.0, smallestNormalExponent);  // rounded - 1 is exact
}

// --- fast exponential and logarithm ---

// value·2^exponent for exponent in [-1021, 2046], exact unless it overflows (value
// positive below 2^2, at least 2^-1 when exponent is -1021, so the result stays normal).
double timesPowerOfTwo(double value, int exponent) {
    if (exponent > 1023) {
        value *= 0x1p1023;
        exponent -= 1023;
    }
    return value * powerOfTwo(exponent);
}

// e^t for |t.high| <= 745, t.low <= ulp(t.high)/2: t = (64q + j)·ln2/64 + r with
// |r| <= ln2/128 (a hair more), e^t = 2^q · 2^(j/64) · e^r, e^r = 1 + r + r²·P(r) with
// P = sum_{n=2..7} r^(n-2)/n! by Horner in double on r.high.
// The reduction: k·part[0] and k·part[1] are exact (36-bit parts, |k| < 2^17) and the two
// differences are two-sums, so r is exact but for the rounding of its low part (terms
// below 2^-44, three roundings: 2^-95) and ln 2/64 beyond its parts (|k|·2^-138).
// e^r, relative to e^r >= 0.994: truncation r^8/8! <= 1.9e-23 (2^-75.4); r²·P from
// r.high, rounded coefficients and Horner, relative error at most 6·2^-53 on
// |r²·P| <= 1.48e-5, so 2^-66.6; the two roundings adding it into the low part, 2^-69
// each. The product with 2^(j/64) (relative error 2^-106): the cross terms and their sum
// rounded, 2^-68 each, the neglected low·low 2^-69. Sum below 2^-65.3 of the result;
// the rounding test uses 2^-63.
constexpr double fastExponentialBound = 0x1p-63;
constexpr double fastExponentLimit = 745.0;
constexpr int fastExponentialPolynomialTop = 7;

ScaledValue fastExponential(DoubleDouble t) {
    const double k = nearestInteger(t.high * sixtyFourOverLnTwo);
    const DoubleDouble first = twoSum(t.high, -(k * lnTwoSixtyFourthPart[0]));
    const DoubleDouble second = twoSum(first.high, -(k * lnTwoSixtyFourthPart[1]));
    const DoubleDouble r =
        twoSum(second.high, ((first.low + second.low) + t.low) - k * lnTwoSixtyFourthPart[2]);
    double tail = exponentialLeading[fastExponentialPolynomialTop].high;
    for (int n = fastExponentialPolynomialTop - 1; n >= 2; --n) tail = tail * r.high + exponentialLeading[n].high;
    const DoubleDouble onePlusR = twoSum(1.0, r.high);
    const DoubleDouble expR{onePlusR.high, onePlusR.low + (r.low + (r.high * r.high) * tail)};
    const auto index = static_cast<int>(k);
    const int sixtyFourths = index & 63;
    return {multiply(twoToSixtyFourths[sixtyFourths], expR), (index - sixtyFourths) / 64};
}

// e^t rounded, when the fast path decides it within relativeBound (which must cover the
// error of t too) and the result is normal or overflows.
bool fastRoundedExponential(DoubleDouble t, double relativeBound, double& result) {
    const ScaledValue scaled = fastExponential(t);
    if (scaled.exponent < smallestNormalExponent + 1 || !roundingDecided(scaled.value, relativeBound)) return false;
    result = timesPowerOfTwo(scaled.value.high, scaled.exponent);
    return true;
}

// ln x for x = x.high + x.low > 0 finite, |x.low| <= ulp(x.high)/2: x = m·2^e with m in
// [sqrt(1/2), sqrt(2)] (m.low = x.low·2^-e), c = j/64 the nearest sixty-fourth to m.high,
// ln x = e·ln2 + ln c + 2·atanh(z), z = (m - c)/(m + c), |z| <= (1/128)/1.41 = 0.00558.
// m.high - c is exact (within a factor 2), z = q1 + q2 by one correction step (relative
// error about 2^-100); 2·atanh z = 2z + 2z·s·P(s), s = q1², P = sum_{i=1..5} s^(i-1)/(2i+1)
// by Horner in double. e·ln 2 is e·part[0] (exact, 42 bits by 11) plus e·part[1] rounded
// (2^-86); the parts are summed exactly by two-sums, the low parts in double.
// Relative to ln x: the tail 2z·s·P has relative error at most 8·2^-53 and is at most
// s/3 <= 2^-16.6 of |2z|, and |2z| is at most 1.04 |ln x| (|ln m| >= 0.0077 unless c = 1,
// and |ln x| >= 0.346 for e != 0), so 2^-66.6; truncation 2z·s^5/11 <= 2^-78 of 2z; the
// low parts' roundings below 2^-67; ln c and the quotient 2^-100. Sum below 2^-65.5; the
// rounding test uses 2^-63, and pow carries |y|·2^-65·|ln x| into its exponent.
constexpr double fastLogarithmBound = 0x1p-63;
constexpr double fastLogarithmErrorInPower = 0x1p-63;  // per unit of |y·ln x|, with the slack
constexpr int fastAtanhTerms = 5;

DoubleDouble fastLogarithmOfQuotient(int exponent, double sixtyFourths, DoubleDouble numerator,
                                     DoubleDouble denominator);

DoubleDouble fastLogarithm(DoubleDouble x) {
    constexpr std::uint64_t fractionMask = (std::uint64_t{1} << 52) - 1;
    constexpr double squareRootOfTwo = 0x1.6a09e667f3bcdp+0;
    std::uint64_t bits = std::bit_cast<std::uint64_t>(x.high);
    int exponent = 0;
    if (bits < (std::uint64_t{1} << 52)) {  // subnormal: scaled into the normal range first
        bits = std::bit_cast<std::uint64_t>(x.high * 0x1p54);
        exponent = -54;
    }
    exponent += static_cast<int>(bits >> 52) - 1023;
    double m = std::bit_cast<double>((bits & fractionMask) | (std::uint64_t{1023} << 52));  // in [1, 2)
    if (m > squareRootOfTwo) {
        m *= 0.5;
        exponent += 1;
    }
    const double mLow = x.low != 0.0 ? std::ldexp(x.low, -exponent) : 0.0;
    const double sixtyFourths = nearestInteger(64.0 * m);
    const double c = sixtyFourths * 0x1p-6;
    const DoubleDouble numerator = twoSum(m - c, mLow);  // m - c is exact
    DoubleDouble denominator = twoSum(m, c);
    denominator.low += mLow;
    return fastLogarithmOfQuotient(exponent, sixtyFourths, numerator, denominator);
}

// e·ln2 + ln(c) + 2·atanh(numerator/denominator), c = sixtyFourths/64, for fastLogarithm
// and fastLogarithmOfOnePlus.
DoubleDouble fastLogarithmOfQuotient(int exponent, double sixtyFourths, DoubleDouble numerator,
                                     DoubleDouble denominator) {
    const double q1 = numerator.high / denominator.high;
    const DoubleDouble product = twoProduct(q1, denominator.high);
    const double remainder = (((numerator.high - product.high) - product.low) + numerator.low) - q1 * denominator.low;
    const double q2 = remainder / denominator.high;
    const double s = q1 * q1;
    double series = atanhLeading[fastAtanhTerms].high;
    for (int i = fastAtanhTerms - 1; i >= 1; --i) series = series * s + atanhLeading[i].high;
    const double tail = ((2.0 * q1) * s) * series;

    const double e = exponent;
    const DoubleDouble logC = logOfSixtyFourths[static_cast<int>(sixtyFourths) - 45];
    const DoubleDouble highs = twoSum(e * lnTwoPart[0], logC.high);
    const DoubleDouble withZ = twoSum(highs.high, 2.0 * q1);
    const double low = ((((highs.low + withZ.low) + e * lnTwoPart[1]) + logC.low) + 2.0 * q2) + tail;
    return twoSum(withZ.high, low);
}

// x^y exactly, when x and y are integers (y >= 2) and the power fits 63 bits; x > 0.
bool exactIntegerPower(double x, double y, double& result) {
    if (y < 2.0 || y > 63.0 || !isInteger(y)) return false;
    int exponent = 0;
    std::uint64_t odd = 0;  // x = odd·2^(exponent-53)
    if (x >= std::numeric_limits<double>::min()) {
        const IntegerScaled scaled = integerScaled(x);
        odd = scaled.mantissa;
        exponent = scaled.exponent;
    } else {
        const double fraction = std::frexp(x, &exponent);
        odd = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    }
    const int trailingZeros = std::countr_zero(odd);  // odd is not zero
    odd >>= trailingZeros;
    const int scale = exponent - 53 + trailingZeros;
    const int power = static_cast<int>(y);
    constexpr std::uint64_t limit = std::uint64_t{1} << 63;
    std::uint64_t value = 1;
    for (int step = 0; step < power; ++step) {
        if (value > (limit - 1) / odd) return false;
        value *= odd;
    }
    const int resultExponent = scale * power;
    if (resultExponent < smallestNormalExponent || resultExponent > 1023) return false;
    result = static_cast<double>(static_cast<std::int64_t>(value)) * powerOfTwo(resultExponent);  // one rounding
    return true;
}

// atan t for 0 <= t <= 1 (a hair above is fine): t = c + (t - c) with c = j/8 the nearest
// eighth, atan t = atan c + atan u, u = (t - c)/(1 + t·c), |u| <= 1/16.
DoubleDouble arctangentOfUnitRange(DoubleDouble t) {
    const double eighths = nearestInteger(8.0 * t.high);
    const double c = 0.125 * eighths;
    const DoubleDouble numerator = add(t, {-c, 0.0});
    const DoubleDouble denominator = add(multiply(t, c), {1.0, 0.0});
    const DoubleDouble u = divide(numerator, denominator);
    const DoubleDouble series = multiply(polynomial(multiply(u, u), atanLeading, atanTrailing), u);
    return add(atanOfEighths[static_cast<int>(eighths)], series);
}

// The angle of (x, y) for x, y >= 0 finite, not both zero, in [0, pi/2].
DoubleDouble firstQuadrantAngle(double x, double y) {
    const bool steep = y > x;
    const double larger = steep ? y : x;
    const double smaller = steep ? x : y;
    int largerExponent = 0;
    int smallerExponent = 0;
    std::frexp(larger, &largerExponent);
    std::frexp(smaller, &smallerExponent);
    DoubleDouble angle{0.0, 0.0};
    if (smaller == 0.0 || largerExponent - smallerExponent > tinyRatioExponent) {
        angle = {smaller / larger, 0.0};  // atan q rounds to q; the quotient may underflow
    } else {  // both scaled by the same power of two into the range of exact products
        const DoubleDouble quotient =
            divide({std::ldexp(smaller, -largerExponent), 0.0}, {std::ldexp(larger, -largerExponent), 0.0});
        angle = arctangentOfUnitRange(quotient);
    }
    return steep ? add(halfPi, negate(angle)) : angle;
}


// --- fast atan2 ---

// The angle of (x, y) for x, y in [2^-500, 2^500] (so that every product below is exact
// as a two-product), when the fast path decides its rounding. With q = min/max = q1 + q2
// (one correction step), c = j/64 the nearest sixty-fourth to q1,
// u = (q - c)/(1 + q·c) = u1 + u2 (q1 - c and q1·c exact, one correction step),
// |u| <= 1/128: atan q = atan c + u1 + u2 + u1·s·P(s), s = u1², P the series of
// (atan(u)/u - 1)/s to s^4 by Horner in double. Then pi/2 - angle for |y| > |x|, and
// pi minus that for x < 0 or x = -0, summed with two-sums.
// Relative to atan q (>= 0.99|u|, also when j = 0): the tail is at most s/3 <= 2^-15.6 of
// |u| with relative error at most 8·2^-53, so 2^-65.5; truncation |u|·s^5/11 <= 2^-73.5
// |u|; the quotients and low-part roundings about 2^-100. The reflections only add to the
// magnitude (pi/2 - angle >= pi/4 >= angle). Sum below 2^-65.4; the test uses 2^-63.
constexpr double fastArctangentBound = 0x1p-63;
constexpr double fastArctangentSmallest = 0x1p-500;
constexpr double fastArctangentLargest = 0x1p500;
constexpr double fastArctangentSmallestRatio = 0x1p-60;  // below it the accurate path takes the quotient
constexpr int fastArctangentTerms = 5;

// atan(smaller/larger) = highs.high + low, unnormalised (low includes highs.low).
struct FastArctangent {
    DoubleDouble highs;
    double low;
};

FastArctangent fastArctangentOfRatio(double smaller, double larger) {
    const double q1 = smaller / larger;
    const DoubleDouble back = twoProduct(q1, larger);
    const double q2 = ((smaller - back.high) - back.low) / larger;  // smaller - back.high is exact
    const double sixtyFourths = nearestInteger(64.0 * q1);
    const double c = sixtyFourths * 0x1p-6;
    const DoubleDouble numerator = twoSum(q1 - c, q2);  // q1 - c is exact
    const DoubleDouble qc = twoProduct(q1, c);
    DoubleDouble denominator = twoSum(1.0, qc.high);
    denominator.low += qc.low + q2 * c;
    const double u1 = numerator.high / denominator.high;
    const DoubleDouble uBack = twoProduct(u1, denominator.high);
    const double u2 =
        ((((numerator.high - uBack.high) - uBack.low) + numerator.low) - u1 * denominator.low) / denominator.high;
    const double s = u1 * u1;
    double series = atanLeading[fastArctangentTerms].high;
    for (int i = fastArctangentTerms - 1; i >= 1; --i) series = series * s + atanLeading[i].high;
    const double tail = (u1 * s) * series;

    const DoubleDouble atanC = atanOfSixtyFourths[static_cast<int>(sixtyFourths)];
    const DoubleDouble angleHighs = twoSum(atanC.high, u1);
    return {angleHighs, ((angleHighs.low + atanC.low) + u2) + tail};
}

bool fastAngle(double x, double y, bool leftHalf, double& result) {
    const bool steep = y > x;
    const double larger = steep ? y : x;
    const double smaller = steep ? x : y;
    if (smaller < larger * fastArctangentSmallestRatio) return false;
    const auto [angleHighs, angleLow] = fastArctangentOfRatio(smaller, larger);
    // base + sign·angle: 0 + angle, pi/2 - angle, pi - angle, or pi - (pi/2 - angle) = pi/2 + angle
    const DoubleDouble base = leftHalf ? (steep ? halfPi : pi) : (steep ? halfPi : DoubleDouble{0.0, 0.0});
    const double sign = steep != leftHalf ? -1.0 : 1.0;
    const DoubleDouble highs = twoSum(base.high, sign * angleHighs.high);
    const DoubleDouble value = twoSum(highs.high, (highs.low + base.low) + sign * angleLow);
    if (!roundingDecided(value, fastArctangentBound)) return false;
    result = value.high;
    return true;
}
}  // namespace

namespace {

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

enum class Wanted { sine, cosine, both };

SineCosine circular(double x, Wanted wanted) {
    if (!(std::fabs(x) <= largestDouble)) {
        const double nan = x - x;  // a NaN passes through, an infinity gives the default NaN
        return {nan, nan};
    }
    const double magnitude = std::fabs(x);
    if (magnitude < tinyArgument) return {x, 1.0};
    // The fast path keeps the short reduction also where it leaves |r| < 2^-40: its error,
    // at most n·2^-150 + 2^-136 < 2^-129 (and 2^-104·|r|), is below 2^-68.6 of |r|, since no double below 2^21 lies
    // nearer than 2^-60.4 to a multiple of pi/2 (an exhaustive search over the multiples);
    // that is well inside the slack of the kernels' bounds.
    const Reduction fast = magnitude < shortReductionLimit ? fastReduceShort(magnitude) : reduceLong(magnitude);
    const bool odd = (fast.quadrant & 1) != 0;  // sin x is ±cos r, cos x is ±sin r
    const bool sineNeeded = wanted == Wanted::both || ((wanted == Wanted::sine) != odd);
    const bool cosineNeeded = wanted == Wanted::both || ((wanted == Wanted::cosine) != odd);
    double sine = 0.0;
    double cosine = 0.0;
    if ((!sineNeeded || fastRemainderValue(fastSineKernel, fastSineBound, fast.remainder, sine)) &&
        (!cosineNeeded || fastRemainderValue(fastCosineKernel, fastCosineBound, fast.remainder, cosine)))
        return fromQuadrant(x, fast.quadrant, sine, cosine);
    const Reduction reduction = reduce(magnitude);  // the accurate path's reduction and kernels
    if (sineNeeded) {
        const DoubleDouble accurate = sineKernel(reduction.remainder);
        sine = accurate.high + accurate.low;
    }
    if (cosineNeeded) {
        const DoubleDouble accurate = cosineKernel(reduction.remainder);
        cosine = accurate.high + accurate.low;
    }
    return fromQuadrant(x, reduction.quadrant, sine, cosine);
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
        const double nan = x - x;
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
        case 1: sinePart = cosine; cosinePart = negate(sine); break;
        case 2: sinePart = negate(sine); cosinePart = negate(cosine); break;
        default: sinePart = negate(cosine); cosinePart = sine; break;
    }
    return {x < 0.0 ? negate(sinePart) : sinePart, cosinePart};
}

namespace accurate {

SineCosine sinCos(double x) {
    if (!(std::fabs(x) <= largestDouble)) {
        const double nan = x - x;
        return {nan, nan};
    }
    const double magnitude = std::fabs(x);
    if (magnitude < tinyArgument) return {x, 1.0};
    const Reduction reduction = reduce(magnitude);
    const DoubleDouble sine = sineKernel(reduction.remainder);
    const DoubleDouble cosine = cosineKernel(reduction.remainder);
    return fromQuadrant(x, reduction.quadrant, sine.high + sine.low, cosine.high + cosine.low);
}

}  // namespace accurate

namespace accurate {

double atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const double ay = std::fabs(y);
    const double ax = std::fabs(x);
    const bool leftHalf = std::signbit(x);  // x < 0, or x = -0
    double magnitude = 0.0;
    if (std::isinf(ay)) {
        magnitude = std::isinf(ax) ? (leftHalf ? threeQuartersPi : quarterPi) : halfPi.high;
    } else if (std::isinf(ax) || ay == 0.0) {
        magnitude = leftHalf ? pi.high : 0.0;
    } else if (ax == 0.0) {
        magnitude = halfPi.high;
    } else {
        const DoubleDouble angle = firstQuadrantAngle(ax, ay);
        const DoubleDouble result = leftHalf ? add(pi, negate(angle)) : angle;
        magnitude = result.high + result.low;
    }
    return std::copysign(magnitude, y);
}

double log(double x) {
    if (std::isnan(x)) return x;
    if (x == 0.0) return -infinity;
    if (x < 0.0) return defaultNaN;
    if (std::isinf(x)) return x;
    const DoubleDouble result = logarithm(x);
    return result.high + result.low;
}

double log1p(double u) {
    if (std::isnan(u)) return u;
    if (std::fabs(u) < tinyLogArgument) return u;  // u²/2 is below half an ulp of u; keeps -0
    if (u == -1.0) return -infinity;
    if (u < -1.0) return defaultNaN;
    if (std::isinf(u)) return u;
    if (u >= nearOneLow && u <= nearOneHigh) {  // 1 + u in [0.71, 1.41]: u is exact, 1 + u is not
        const DoubleDouble result = twiceAtanh(divide({u, 0.0}, twoSum(2.0, u)));
        return result.high + result.low;
    }
    // |ln(1 + u)| >= 0.34: ln of the rounded 1 + u, plus ln(1 + low/high) to second order.
    const DoubleDouble onePlusU = twoSum(1.0, u);
    const double ratio = onePlusU.low / onePlusU.high;
    const DoubleDouble result = add(logarithm(onePlusU.high), {ratio - 0.5 * ratio * ratio, 0.0});
    return result.high + result.low;
}

double exp(double x) {
    if (std::isnan(x)) return x;
    if (x > exponentArgumentLimit) return infinity;
    if (x < -exponentArgumentLimit) return +0.0;
    const ScaledValue result = exponential({x, 0.0});
    return roundScaled(result.value, result.exponent);
}

double pow(double x, double y) {
    if (y == 0.0) return 1.0;
    if (x == 1.0) return 1.0;
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const bool oddExponent = isOddInteger(y);
    if (std::isinf(y)) {
        const double magnitude = std::fabs(x);
        if (magnitude == 1.0) return 1.0;  // (-1)^±inf
        return (magnitude > 1.0) == (y > 0.0) ? infinity : +0.0;
    }
    if (x == 0.0) {
        if (y < 0.0) return oddExponent ? std::copysign(infinity, x) : infinity;
        return oddExponent ? x : +0.0;
    }
    if (std::isinf(x)) {
        const double magnitude = y < 0.0 ? 0.0 : infinity;
        return x < 0.0 && oddExponent ? -magnitude : magnitude;
    }
    double sign = 1.0;
    if (x < 0.0) {
        if (!isInteger(y)) return defaultNaN;
        if (oddExponent) sign = -1.0;
        x = -x;
    }
    double exact = 0.0;
    if (exactIntegerPower(x, y, exact)) return sign * exact;
    const DoubleDouble logX = logarithm(x);
    const double estimate = y * logX.high;
    if (estimate > 2.0 * exponentArgumentLimit) return sign * infinity;
    if (estimate < -2.0 * exponentArgumentLimit) return sign * 0.0;
    // |y·ln x| <= 1492 with |ln x| >= 2^-54 keeps |y| far below the splitting limit.
    const DoubleDouble t = add(twoProduct(y, logX.high), {y * logX.low, 0.0});
    if (t.high > exponentArgumentLimit) return sign * infinity;
    if (t.high < -exponentArgumentLimit) return sign * 0.0;
    const ScaledValue result = exponential(t);
    return sign * roundScaled(result.value, result.exponent);
}

}  // namespace accurate

double atan2(double y, double x) {
    const double ay = std::fabs(y);
    const double ax = std::fabs(x);
    const bool ordinary = ax >= fastArctangentSmallest && ax <= fastArctangentLargest &&
                          ay >= fastArctangentSmallest && ay <= fastArctangentLargest;  // false for NaN
    double magnitude = 0.0;
    if (ordinary && fastAngle(ax, ay, std::signbit(x), magnitude)) return std::copysign(magnitude, y);
    return accurate::atan2(y, x);
}

double log(double x) {
    if (!(x > 0.0 && x <= largestDouble)) return accurate::log(x);
    const DoubleDouble result = fastLogarithm({x, 0.0});
    return roundingDecided(result, fastLogarithmBound) ? result.high : accurate::log(x);
}

// ln(1 + u) = ln(h + l) with h + l = 1 + u exactly: the error of ln is relative to the
// result whatever u is, since h + l is not rounded.
double log1p(double u) {
    if (!(std::fabs(u) >= tinyLogArgument && u > -1.0 && u <= largestDouble)) return accurate::log1p(u);
    const DoubleDouble result = fastLogarithm(twoSum(1.0, u));
    return roundingDecided(result, fastLogarithmBound) ? result.high : accurate::log1p(u);
}

ScaledExponential exponentialParts(double t) { return fastExponential({t, 0.0}); }

namespace accurate {
ScaledExponential exponentialParts(double t) { return exponential({t, 0.0}); }
}  // namespace accurate

double exp(double x) {
    double result = 0.0;
    if (std::fabs(x) <= fastExponentLimit && fastRoundedExponential({x, 0.0}, fastExponentialBound, result))
        return result;
    return accurate::exp(x);
}

// The fast path takes positive finite x other than 1 (and negative x with an integer y),
// finite y other than 0, |y·ln x| <= 745 and results that are not subnormal.
double pow(double x, double y) {
    const bool ordinary = std::fabs(x) <= largestDouble && std::fabs(y) <= largestDouble && x != 0.0 &&
                          y != 0.0 && x != 1.0 && (x > 0.0 || isInteger(y));
    if (!ordinary) return accurate::pow(x, y);
    const double sign = x < 0.0 && isOddInteger(y) ? -1.0 : 1.0;
    const double magnitude = std::fabs(x);
    double result = 0.0;
    if (exactIntegerPower(magnitude, y, result)) return sign * result;
    const DoubleDouble logX = fastLogarithm({magnitude, 0.0});
    if (!(std::fabs(y * logX.high) <= fastExponentLimit)) return accurate::pow(x, y);
    // |y| <= 745·2^53 (|ln x| >= 2^-53 for x != 1), far inside the range of exact products.
    const DoubleDouble t = add(twoProduct(y, logX.high), {y * logX.low, 0.0});
    const double bound = fastExponentialBound + std::fabs(t.high) * fastLogarithmErrorInPower;
    if (std::fabs(t.high) <= fastExponentLimit && fastRoundedExponential(t, bound, result)) return sign * result;
    return accurate::pow(x, y);
}


// --- double-double arguments and results ---

namespace wide {
namespace {

// |x| below this: sin x = x and cos x = 1 to well below 2^-106 (x²/6 < 2^-106 |x|).
constexpr double wideTinyArgument = 0x1p-54;

}  // namespace

// ln of the high part plus the low part's share, low/high (its square, below 2^-106, is
// left out).
DoubleDouble log(DoubleDouble u) {
    const DoubleDouble logOfHigh = logarithm(u.high);
    return u.low == 0.0 ? logOfHigh : add(logOfHigh, {u.low / u.high, 0.0});
}

// 1 + d in [0.71, 1.41]: 2·atanh(d/(2 + d)), relative to the result whatever the size of
// d. Elsewhere |ln(1 + d)| >= 0.34 and 1 + d is formed in double-double first.
DoubleDouble log1p(DoubleDouble d) {
    if (d.high >= nearOneLow && d.high <= nearOneHigh) return twiceAtanh(divide(d, add({2.0, 0.0}, d)));
    return log(add({1.0, 0.0}, d));
}

DoubleDouble atan2(double y, double x) {
    const DoubleDouble first = firstQuadrantAngle(std::fabs(x), std::fabs(y));
    const DoubleDouble angle = std::signbit(x) ? add(pi, negate(first)) : first;
    return std::signbit(y) ? negate(angle) : angle;
}

// t = k·ln2 + r with ln 2 in three parts (k·ln2 to about 2^-100 for |k| <= 2700), then e^r by
// the reduction and series of exp (its own k is -1, 0 or 1).
ScaledDoubleDouble exp(DoubleDouble t) {
    if (t.high == 0.0) return {{1.0, 0.0}, 0};  // what the series gives, without evaluating it
    const double k = nearestInteger(t.high * inverseLnTwo);
    const DoubleDouble kLnTwo = add(add(twoProduct(k, lnTwoPart[0]), twoProduct(k, lnTwoPart[1])), {k * lnTwoPart[2], 0.0});
    const ScaledValue reduced = exponential(add(t, negate(kLnTwo)));
    return {reduced.value, reduced.exponent + static_cast<int>(k)};
}

// x = x.high + x.low: the high part is reduced as sin and cos reduce a double, then the low
// part joins the remainder; a remainder pushed past pi/4 by it moves one quadrant. The
// accurate and the fast variant differ only in the reduction and the kernels.
template <Reduction (*reduceHigh)(double), DoubleDouble (*sineOf)(DoubleDouble), DoubleDouble (*cosineOf)(DoubleDouble)>
SineCosinePair sinCosOfWide(DoubleDouble x) {
    const bool negative = x.high < 0.0;
    const DoubleDouble magnitude = negative ? negate(x) : x;
    Reduction reduction = reduceHigh(magnitude.high);
    DoubleDouble r = add(reduction.remainder, {magnitude.low, 0.0});
    if (r.high > quarterPi) {
        r = add(r, negate(halfPi));
        reduction.quadrant = (reduction.quadrant + 1) & 3;
    } else if (r.high < -quarterPi) {
        r = add(r, halfPi);
        reduction.quadrant = (reduction.quadrant + 3) & 3;
    }
    const DoubleDouble sine = sineOf(r);
    const DoubleDouble cosine = cosineOf(r);
    SineCosinePair result{};
    switch (reduction.quadrant) {
        case 0: result = {sine, cosine}; break;
        case 1: result = {cosine, negate(sine)}; break;
        case 2: result = {negate(sine), negate(cosine)}; break;
        default: result = {negate(cosine), sine}; break;
    }
    if (negative) result.sine = negate(result.sine);
    return result;
}

SineCosinePair sinCos(DoubleDouble x) {
    if (std::fabs(x.high) < wideTinyArgument) return {x, {1.0, 0.0}};
    return sinCosOfWide<reduce, sineKernel, cosineKernel>(x);
}

double roundTimesPowerOfTwo(DoubleDouble value, int exponent) {
    if (value.high == 0.0 || !std::isfinite(value.high)) return value.high;
    const double magnitudeOfHigh = std::fabs(value.high);
    const int highExponent = static_cast<int>(std::bit_cast<std::uint64_t>(magnitudeOfHigh) >> 52) - 1023;
    if (magnitudeOfHigh >= std::numeric_limits<double>::min() && exponent >= smallestNormalExponent &&
        exponent <= 1023 && highExponent + exponent >= smallestNormalExponent + 1)
        return (value.high + value.low) * powerOfTwo(exponent);  // rounded, then scaled exactly (or overflowing)
    int valueExponent = 0;
    const double fraction = std::frexp(value.high, &valueExponent);  // exact
    const double magnitudeHigh = std::fabs(fraction);
    const double magnitudeLow = std::copysign(1.0, fraction) * std::ldexp(value.low, -valueExponent);
    const int total = exponent + valueExponent;  // value·2^exponent = fraction·2^total
    if (total > 1100) return std::copysign(infinity, value.high);
    constexpr int belowEverySubnormal = -1130;
    double magnitude = 0.0;
    if (total >= smallestNormalExponent + 1) {  // normal or overflowing: round, then scale exactly
        magnitude = std::ldexp(magnitudeHigh + magnitudeLow, total);
    } else if (total > belowEverySubnormal) {
        magnitude = roundScaled({magnitudeHigh, magnitudeLow}, total);
    }
    return std::copysign(magnitude, value.high);
}

// --- fast variants (the power's first try) ---

DoubleDouble fastLog(DoubleDouble u) { return fastLogarithm(u); }

// 1 + d within 2^-7 of 1: ln(1 + d) = 2·atanh(d/(2 + d)), the fast logarithm's quotient with
// c = 1 and d itself as the numerator, so the error is relative to the result however
// small d is. Elsewhere 1 + d as a double-double (its low part's rounding, below 2^-105,
// is under 2^-97 of |ln(1 + d)| >= 2^-7.1) and the fast logarithm of it.
DoubleDouble fastLog1p(DoubleDouble d) {
    constexpr double nearOne = 0x1p-7;
    if (std::fabs(d.high) < nearOne) {
        DoubleDouble denominator = twoSum(2.0, d.high);
        denominator.low += d.low;
        return fastLogarithmOfQuotient(0, 64.0, d, denominator);
    }
    const DoubleDouble onePlusHigh = twoSum(1.0, d.high);
    return fastLogarithm(fastTwoSum(onePlusHigh.high, onePlusHigh.low + d.low));
}

// Both scaled by the same power of two, larger into [1/2, 1), so every product of the
// kernel is exact.
DoubleDouble fastAtan(double smaller, double larger) {
    if (smaller == 0.0) return {0.0, 0.0};
    int exponent = 0;
    std::frexp(larger, &exponent);
    const auto [highs, low] = fastArctangentOfRatio(std::ldexp(smaller, -exponent), std::ldexp(larger, -exponent));
    return twoSum(highs.high, low);
}

ScaledDoubleDouble fastExp(DoubleDouble t) { return fastExponential(t); }

// As sinCos, with the fast reduction and kernels: the reduction's error (at most 2^-129 +
// 2^-104·|r|, see circular) and the sums adding x.low and a quarter turn are absolute
// errors of the remainder below 2^-102; the kernels add 2^-66 of each part.
SineCosinePair fastSinCos(DoubleDouble x) {
    return sinCosOfWide<fastReduceShort, fastSineKernel, fastCosineKernel>(x);
}

}  // namespace wide

}  // namespace kx::real
