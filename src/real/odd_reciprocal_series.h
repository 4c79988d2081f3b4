// The series sum over k of z^k/(2k + 1) in double-double, the kernel of logOfDoubleDouble
// (atanh s = s·series(s²)).
//
// Coefficients: 1/(2k + 1), the atanh coefficients of tables.h (tools/generate_real_tables.py).
// The series is evaluated by Horner's rule: the terms from z^4 on in plain
// double (they are below |z|^4/9 of the sum, so their rounding errors stay below
// 2^-53·|z|^4 relative), the first four in double-double. Sixteen terms: for |z| <= 0.0295
// (the logarithm's range) the first omitted term is below 2^-82 of the sum, and the plain
// double tail contributes below 2^-73.
#pragma once

#include <cstddef>
#include <iterator>

#include "core/double_double.h"
#include "real/tables.h"

namespace kx::real {

// sum_k z^k/(2k + 1) for |z| <= 0.03, z in double-double; relative error below 2^-72.
constexpr DoubleDouble oddReciprocalSeries(DoubleDouble z) {
    using tables::atanhLeading;
    using tables::atanhTrailing;
    constexpr std::size_t doubleDoubleTerms = 4;
    constexpr std::size_t trailingTerms = 6;  // 1/21 .. 1/31: sixteen terms in all
    double tail = atanhTrailing[trailingTerms - 1];
    for (std::size_t k = trailingTerms - 1; k-- > 0;) tail = tail * z.high + atanhTrailing[k];
    for (std::size_t k = std::size(atanhLeading); k-- > doubleDoubleTerms;) tail = tail * z.high + atanhLeading[k].high;
    DoubleDouble sum{tail, 0.0};
    for (std::size_t k = doubleDoubleTerms; k-- > 0;) sum = ddAdd(ddMultiply(sum, z), atanhLeading[k]);
    return sum;
}

}  // namespace kx::real
