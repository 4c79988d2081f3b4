// The logarithm, from IEEE basic operations and double-double arithmetic only.
//
// Reduction: the argument u (a double-double: x itself, or 1 + x formed exactly as a
// rounded sum plus its error) is written u = 2^k·m with m in [sqrt(1/2), sqrt(2)); the
// scaling by 2^k is exact. With f = m - 1 (exact for the high part by Sterbenz's lemma) and
// s = f/(2 + f), ln m = 2·atanh s = 2s·sum_k (s²)^k/(2k + 1), |s| <= 0.1716, summed by
// oddReciprocalSeries; then ln u = k·ln 2 + ln m, all in double-double and rounded once at
// the end. ln 2 to 106 bits comes from mpmath (see real_logarithms.h).
//
// Accuracy: the double-double result carries a relative error below about 2^-72, so the
// rounded double is the correctly rounded logarithm except when the exact value lies within
// about 2^-19 ulp of a rounding boundary (rare; the unit tests compare against a correctly
// rounded libm on a large random sample).
#include "real/real_logarithms.h"

#include <cmath>
#include <limits>

#include "core/complex.h"
#include "core/double_double.h"
#include "real/odd_reciprocal_series.h"

namespace kx::real {
namespace {

constexpr double sqrtHalf = 0x1.6a09e667f3bcdp-1;  // sqrt(1/2) rounded: the reduction edge

}  // namespace

DoubleDouble logOfDoubleDouble(DoubleDouble u) {
    if (u.high < 0x1p-1000) {  // subnormal or tiny: scale up so frexp and the products stay exact
        const DoubleDouble scaled{u.high * 0x1p+200, u.low * 0x1p+200};
        return ddSubtract(logOfDoubleDouble(scaled), ddMultiply({200.0, 0.0}, lnTwo));
    }
    int exponent = 0;
    double mantissa = std::frexp(u.high, &exponent);  // u.high = mantissa·2^exponent, mantissa in [1/2, 1)
    if (mantissa < sqrtHalf) {
        mantissa += mantissa;  // exact
        --exponent;
    }
    const double mantissaLow = std::ldexp(u.low, -exponent);  // exact: a power-of-two scaling
    const DoubleDouble f = twoSum(mantissa - 1.0, mantissaLow);  // m - 1 exact (Sterbenz)
    const DoubleDouble s = ddDivide(f, ddAdd({2.0, 0.0}, f));
    const DoubleDouble lnM = ddMultiply(ddAdd(s, s), oddReciprocalSeries(ddMultiply(s, s)));
    if (exponent == 0) return lnM;
    return ddAdd(ddMultiply({static_cast<double>(exponent), 0.0}, lnTwo), lnM);
}

}  // namespace kx::real
