// Error-free transformations of doubles: a sum or a product written exactly as a rounded
// result plus the rounding error, and an accurate sum of a few doubles built from them.
//
// Every function here uses plain double additions and multiplications only (no fused
// multiply-add), so results do not depend on the hardware or on contraction settings.
// References: T. J. Dekker, "A floating-point technique for extending the available
// precision", Numer. Math. 18, 1971 (two-product with Veltkamp's splitting);
// D. E. Knuth, TAOCP vol. 2, 4.2.2 (two-sum); D. M. Priest, "On properties of floating
// point arithmetics", 1992 (doubly compensated summation).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "core/power_of_two.h"

namespace kx {

// A value held as high + low, with high the rounded value and low the rounding error.
struct DoubleDouble {
    double high;
    double low;
};

// a + b exactly, for any finite a and b (Knuth's two-sum, six operations).
constexpr DoubleDouble twoSum(double a, double b) {
    const double sum = a + b;
    const double bVirtual = sum - a;
    const double aVirtual = sum - bVirtual;
    return {sum, (a - aVirtual) + (b - bVirtual)};
}

// Veltkamp's split: value = high + low, each half fitting in 26 bits, so that products
// of halves are exact. Valid for |value| below 2^996 (the factor 2^27 + 1 must not
// overflow).
constexpr DoubleDouble split(double value) {
    constexpr double splitter = 0x1p27 + 1.0;
    const double scaled = splitter * value;
    const double high = scaled - (scaled - value);
    return {high, value - high};
}

// a·b exactly as high + low (Dekker's two-product). Exact when |a| and |b| are below
// 2^996 and the product neither overflows nor has a low part below the normal range;
// the callers here use it on operands of magnitude below 4.
constexpr DoubleDouble twoProduct(double a, double b) {
    const double product = a * b;
    const DoubleDouble aHalves = split(a);
    const DoubleDouble bHalves = split(b);
    const double error = ((aHalves.high * bHalves.high - product) + aHalves.high * bHalves.low +
                          aHalves.low * bHalves.high) +
                         aHalves.low * bHalves.low;
    return {product, error};
}

// a + b exactly when |a| >= |b| or a is zero (Dekker's fast two-sum, three operations).
constexpr DoubleDouble fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// The double-double sum a + b, with a relative error of a few units of 2^-106 (the low
// parts are added with their own rounding error carried).
constexpr DoubleDouble ddAdd(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble highs = twoSum(a.high, b.high);
    const DoubleDouble lows = twoSum(a.low, b.low);
    const DoubleDouble first = fastTwoSum(highs.high, highs.low + lows.high);
    return fastTwoSum(first.high, first.low + lows.low);
}

constexpr DoubleDouble negated(DoubleDouble a) { return {-a.high, -a.low}; }

constexpr DoubleDouble ddSubtract(DoubleDouble a, DoubleDouble b) { return ddAdd(a, negated(b)); }

// The double-double product a·b, relative error about 2^-104; the operands' high parts
// must satisfy twoProduct's range condition.
constexpr DoubleDouble ddMultiply(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = twoProduct(a.high, b.high);
    return fastTwoSum(product.high, product.low + (a.high * b.low + a.low * b.high));
}

// The double-double quotient a/b: a first quotient, then the quotient of the remainder
// a - q·b (formed in double-double) as its correction.
constexpr DoubleDouble ddDivide(DoubleDouble a, DoubleDouble b) {
    const double first = a.high / b.high;
    const DoubleDouble remainder = ddSubtract(a, ddMultiply({first, 0.0}, b));
    return fastTwoSum(first, remainder.high / b.high);
}

// The variants below renormalise with Knuth's two-sum where the operations above use
// Dekker's fast two-sum, so their results are normalised whatever the magnitudes of the
// intermediate sums; the real functions' accurate kernels are built on them.

// a + b with relative error about 2^-104 (both parts summed with two-sums, renormalised by
// two-sums).
constexpr DoubleDouble ddAddWithTwoSums(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble highs = twoSum(a.high, b.high);
    const DoubleDouble lows = twoSum(a.low, b.low);
    const DoubleDouble sum = twoSum(highs.high, highs.low + lows.high);
    return twoSum(sum.high, sum.low + lows.low);
}

// a·b as ddMultiply forms it, renormalised by a two-sum.
constexpr DoubleDouble ddMultiplyWithTwoSum(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = twoProduct(a.high, b.high);
    return twoSum(product.high, product.low + (a.high * b.low + a.low * b.high));
}

// a·b for a double b, renormalised by a two-sum.
constexpr DoubleDouble ddMultiplyByDouble(DoubleDouble a, double b) {
    const DoubleDouble product = twoProduct(a.high, b);
    return twoSum(product.high, product.low + a.low * b);
}

// a / b by two correction steps on the quotient of the high parts (ddDivide takes one),
// the remainders formed with ddAddWithTwoSums.
constexpr DoubleDouble ddDivideTwiceCorrected(DoubleDouble a, DoubleDouble b) {
    const double first = a.high / b.high;
    const DoubleDouble firstRemainder = ddAddWithTwoSums(a, negated(ddMultiplyByDouble(b, first)));
    const double second = firstRemainder.high / b.high;
    const DoubleDouble secondRemainder = ddAddWithTwoSums(firstRemainder, negated(ddMultiplyByDouble(b, second)));
    const double third = secondRemainder.high / b.high;
    return ddAddWithTwoSums(twoSum(first, second), {third, 0.0});
}

// The double-double square root of a >= 0: the double root corrected by one Newton step,
// (a - r²)/(2r) with r² formed exactly.
inline DoubleDouble ddSquareRoot(DoubleDouble a) {
    if (a.high == 0.0) return {a.high, 0.0};
    const double root = std::sqrt(a.high);
    const DoubleDouble square = twoProduct(root, root);
    const double correction = (((a.high - square.high) - square.low) + a.low) / (root + root);
    return fastTwoSum(root, correction);
}

// a·2^exponent, each part scaled as ldexp scales it (exact unless a part leaves the normal range).
inline DoubleDouble ddTimesPowerOfTwo(DoubleDouble a, int exponent) {
    return {scaledByPowerOfTwo(a.high, exponent), scaledByPowerOfTwo(a.low, exponent)};
}

// The double nearest to a double-double whose parts do not overlap.
constexpr double rounded(DoubleDouble a) { return a.high + a.low; }

// value·2^exponent: a double-double with an exponent of its own, for values whose range
// exceeds the doubles' (e^t for |t| up to 1842) or that are scaled before one rounding.
struct ScaledDoubleDouble {
    DoubleDouble value;
    int exponent;
};

// The sum of a few finite doubles with a relative error of at most two units of
// rounding, whatever cancellation occurs: Priest's doubly compensated summation over the
// terms in order of decreasing magnitude.
template <std::size_t count>
double accurateSum(std::array<double, count> terms) {
    std::sort(terms.begin(), terms.end(),
              [](double left, double right) { return std::fabs(left) > std::fabs(right); });
    double sum = terms[0];
    double correction = 0.0;
    for (std::size_t index = 1; index < count; ++index) {
        const double term = terms[index];
        const double corrected = correction + term;
        const double correctedError = term - (corrected - correction);
        const double partial = corrected + sum;
        const double partialError = corrected - (partial - sum);
        const double carried = correctedError + partialError;
        sum = partial + carried;
        correction = carried - (sum - partial);
    }
    return sum;
}

}  // namespace kx
