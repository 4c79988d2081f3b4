// The real arctangent, arcsine and arccosine, from IEEE basic operations and double-double arithmetic only.
//
// All three reduce to the arctangent of a quotient num/den of non-negative double-doubles:
// when num > den, atan(num/den) = pi/2 - atan(den/num), so the kernel sees t in [0, 1].
// There t is reduced by the nearest breakpoint c = j/8: atan t = atan c + atan u with
// u = (t - c)/(1 + t·c), |u| <= 1/16, and atan u = u·sum_k (-u²)^k/(2k + 1) by
// oddReciprocalSeries; asin x = atan(x/sqrt((1-x)(1+x))) and
// acos x = atan(sqrt((1-x)(1+x))/x), the root formed in double-double. Everything is kept
// in double-double and rounded once. The constants atan(j/8), pi and pi/2 to 106 bits come
// from mpmath (tests/reference/generate_real_constants.py).
//
// Accuracy: relative error of the double-double result below about 2^-72, so the result is
// correctly rounded unless the exact value lies within about 2^-19 ulp of a rounding
// boundary.
#include "real/real_arcs.h"

#include <array>
#include <cmath>

#include "core/complex.h"
#include "core/double_double.h"
#include "real/odd_reciprocal_series.h"

namespace kx::real {
namespace {

constexpr DoubleDouble pi{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
constexpr DoubleDouble halfPi{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr DoubleDouble quarterPi{0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55};
constexpr DoubleDouble threeQuarterPi = ddAdd(halfPi, quarterPi);

constexpr std::array<DoubleDouble, 9> arctangentOfEighths{{
    {0x0.0p+0, 0x0.0p+0},                              // atan(0/8)
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},  // atan(1/8)
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},   // atan(2/8)
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},  // atan(3/8)
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},   // atan(4/8)
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},  // atan(5/8)
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},   // atan(6/8)
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},  // atan(7/8)
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},   // atan(8/8)
}};

// Below this, atan t = t - t³/3 differs from t by under 2^-80 relative.
constexpr double seriesIdentityBound = 0x1p-40;
// Below this magnitude atan x and asin x round to x, and acos x to pi/2 - x rounded.
constexpr double identityBound = 0x1p-27;
// atan t for t in [0, 1] (slightly above 1 allowed), t a normalized double-double.
DoubleDouble arctangentOfFraction(DoubleDouble t) {
    if (t.high < seriesIdentityBound) return t;
    const int j = static_cast<int>(std::floor(8.0 * t.high + 0.5));  // nearest breakpoint j/8
    DoubleDouble u = t;
    if (j > 0) {
        const DoubleDouble c{j / 8.0, 0.0};
        u = ddDivide(ddSubtract(t, c), ddAdd({1.0, 0.0}, ddMultiply(c, t)));
    }
    const DoubleDouble series = oddReciprocalSeries(negated(ddMultiply(u, u)));
    return ddAdd(arctangentOfEighths[static_cast<std::size_t>(j)], ddMultiply(u, series));
}

// atan(num/den) in [0, pi/2] for num, den >= 0, not both zero, each between 2^-62 and 2^62
// or zero.
DoubleDouble arctangentOfQuotient(DoubleDouble num, DoubleDouble den) {
    if (num.high <= den.high) return arctangentOfFraction(ddDivide(num, den));
    return ddSubtract(halfPi, arctangentOfFraction(ddDivide(den, num)));
}

// sqrt((1 - a)(1 + a)) for 0 <= a <= 1, the cosine of the arcsine of a.
DoubleDouble cosineOfArcsine(double a) {
    return ddSquareRoot(ddMultiply(twoSum(1.0, -a), twoSum(1.0, a)));
}

}  // namespace

double atan(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax < identityBound) return x;  // ±0 and subnormals included
    if (ax > 0x1p+60) return std::copysign(rounded(ddSubtract(halfPi, {1.0 / ax, 0.0})), x);
    return std::copysign(rounded(arctangentOfQuotient({ax, 0.0}, {1.0, 0.0})), x);
}

double asin(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax > 1.0) return defaultNaN;
    if (ax < identityBound) return x;  // ±0 and subnormals included
    return std::copysign(rounded(arctangentOfQuotient({ax, 0.0}, cosineOfArcsine(ax))), x);
}

double acos(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax > 1.0) return defaultNaN;
    if (ax < identityBound) return rounded(ddSubtract(halfPi, {x, 0.0}));
    const DoubleDouble angle = arctangentOfQuotient(cosineOfArcsine(ax), {ax, 0.0});
    return rounded(std::signbit(x) ? ddSubtract(pi, angle) : angle);
}

}  // namespace kx::real
