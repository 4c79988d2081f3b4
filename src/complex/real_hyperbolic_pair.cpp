// e^t unrounded, and sinh x and cosh x for |x| <= 30.
//
// e^t: E = exp(t) rounded, then e^t = E·e^(t - ln E) = E·(1 + d + d²/2 + ...) with
// d = t - ln E, |d| <= 2^-53 (E is within half an ulp of e^t), and ln E from the
// double-double logarithm (relative error below about 2^-72, so an absolute error below
// 2^-72·|t| in d). E + E·d then carries e^t with a relative error below 2^-72·|t| + 2^-105
// (d²/2 <= 2^-107 is left out); E must be a normal double, so |t| <= 700. e^-x is its double-double reciprocal, off by the same
// relative amount with the opposite sign, so
//   sinh x = (e^x - e^-x)/2 has an absolute error below about 2^-71·|x|·cosh x + 2^-104 e^x,
// relative to sinh x (>= |x|) below 2^-68 for 2^-10 <= |x| <= 30, and cosh x = (e^x + e^-x)/2
// relative to itself below 2^-70. Below 2^-10 the cancellation in e^x - e^-x is avoided by
// the series x(1 + x²/6 + x⁴/120 + x⁶/5040) and 1 + x²/2 + x⁴/24 + x⁶/720, whose next terms
// are below 2^-98 relative; the small terms are summed in double, their roundings below 2^-70.
#include "complex/real_hyperbolic_pair.h"

#include <cmath>

#include "complex/real_functions.h"
#include "complex/real_logarithms.h"

namespace kx::real {
namespace {

constexpr double seriesBound = 0x1p-10;

}  // namespace

DoubleDouble wideExponential(double t) {
    const double nearest = exp(t);
    const double d = rounded(ddSubtract({t, 0.0}, logOfDoubleDouble({nearest, 0.0})));
    return ddAdd({nearest, 0.0}, twoProduct(nearest, d));
}

WideSinhCosh wideSinhCosh(double x) {
    const double a = std::fabs(x);
    if (a < seriesBound) {
        const double t = x * x;
        const double sinhTail = x * (t * ((1.0 / 6.0) + t * ((1.0 / 120.0) + t * (1.0 / 5040.0))));
        const double coshTail = t * t * ((1.0 / 24.0) + t * (1.0 / 720.0));
        const DoubleDouble half = twoProduct(0.5 * x, x);  // x²/2 exactly
        return {fastTwoSum(x, sinhTail), ddAdd({1.0, 0.0}, ddAdd(half, {coshTail, 0.0}))};
    }
    const DoubleDouble grown = wideExponential(a);
    const DoubleDouble shrunk = ddDivide({1.0, 0.0}, grown);
    const DoubleDouble difference = ddSubtract(grown, shrunk);
    const DoubleDouble sum = ddAdd(grown, shrunk);
    const DoubleDouble sinhOfA{0.5 * difference.high, 0.5 * difference.low};
    return {x < 0.0 ? negated(sinhOfA) : sinhOfA, {0.5 * sum.high, 0.5 * sum.low}};
}

}  // namespace kx::real
