// The series sum over k of z^k/(2k + 1) in double-double, the common kernel of the
// logarithm (atanh s = s·series(s²)) and the arctangent (atan t = t·series(-t²)).
//
// Coefficients: 1/(2k + 1) to 106 bits, from tests/reference/generate_real_constants.py
// (mpmath). The series is evaluated by Horner's rule: the terms from z^4 on in plain
// double (they are below |z|^4/9 of the sum, so their rounding errors stay below
// 2^-53·|z|^4 relative), the first four in double-double. Sixteen terms: for |z| <= 0.0295
// (the logarithm's range) the first omitted term is below 2^-82 of the sum, and the plain
// double tail contributes below 2^-73; for the arctangent's |z| <= 2^-8 both are far smaller.
#pragma once

#include <array>
#include <cstddef>

#include "core/double_double.h"

namespace kx::real {

inline constexpr std::array<DoubleDouble, 16> oddReciprocals{{
    {0x1.0000000000000p+0, 0x0.0p+0},                // 1/1
    {0x1.5555555555555p-2, 0x1.5555555555555p-56},   // 1/3
    {0x1.999999999999ap-3, -0x1.999999999999ap-57},  // 1/5
    {0x1.2492492492492p-3, 0x1.2492492492492p-57},   // 1/7
    {0x1.c71c71c71c71cp-4, 0x1.c71c71c71c71cp-58},   // 1/9
    {0x1.745d1745d1746p-4, -0x1.745d1745d1746p-59},  // 1/11
    {0x1.3b13b13b13b14p-4, -0x1.3b13b13b13b14p-58},  // 1/13
    {0x1.1111111111111p-4, 0x1.1111111111111p-60},   // 1/15
    {0x1.e1e1e1e1e1e1ep-5, 0x1.e1e1e1e1e1e1ep-61},   // 1/17
    {0x1.af286bca1af28p-5, 0x1.af286bca1af28p-59},   // 1/19
    {0x1.8618618618618p-5, 0x1.8618618618618p-59},   // 1/21
    {0x1.642c8590b2164p-5, 0x1.642c8590b2164p-60},   // 1/23
    {0x1.47ae147ae147bp-5, -0x1.eb851eb851eb8p-61},  // 1/25
    {0x1.2f684bda12f68p-5, 0x1.2f684bda12f68p-59},   // 1/27
    {0x1.1a7b9611a7b96p-5, 0x1.1a7b9611a7b96p-61},   // 1/29
    {0x1.0842108421084p-5, 0x1.0842108421084p-60},   // 1/31
}};

// sum_k z^k/(2k + 1) for |z| <= 0.03, z in double-double; relative error below 2^-72.
constexpr DoubleDouble oddReciprocalSeries(DoubleDouble z) {
    constexpr std::size_t doubleDoubleTerms = 4;
    double tail = oddReciprocals.back().high;
    for (std::size_t k = oddReciprocals.size() - 1; k-- > doubleDoubleTerms;) tail = tail * z.high + oddReciprocals[k].high;
    DoubleDouble sum{tail, 0.0};
    for (std::size_t k = doubleDoubleTerms; k-- > 0;) sum = ddAdd(ddMultiply(sum, z), oddReciprocals[k]);
    return sum;
}

}  // namespace kx::real
