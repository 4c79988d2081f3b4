// Horner evaluation of the Taylor series of the real functions in double-double: the
// accurate kernels' polynomial (trailing terms in double, leading ones in double-double
// with two-sum renormalisation) and the fast kernels' lighter steps.
#pragma once

#include <cstddef>

#include "core/double_double.h"

namespace kx::real {

// sum c_i·x^i: the trailing (small) terms by Horner in double on x.high, then the leading
// coefficients by Horner in double-double.
template <std::size_t leadingCount, std::size_t trailingCount>
DoubleDouble polynomial(DoubleDouble x, const DoubleDouble (&leading)[leadingCount],
                        const double (&trailing)[trailingCount]) {
    double tail = trailing[trailingCount - 1];
    for (std::size_t index = trailingCount - 1; index-- > 0;) tail = tail * x.high + trailing[index];
    DoubleDouble sum{tail, 0.0};
    for (std::size_t index = leadingCount; index-- > 0;) sum = ddAddWithTwoSums(ddMultiplyWithTwoSum(sum, x), leading[index]);
    return sum;
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
inline DoubleDouble hornerStep(DoubleDouble c, DoubleDouble x, DoubleDouble p) {
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

}  // namespace kx::real
