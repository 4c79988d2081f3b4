// asinh x = ln(|x| + sqrt(x² + 1)) and acosh x = ln(x + sqrt((x - 1)(x + 1))), with the
// argument of the logarithm formed in double-double (exact squares, exact x ± 1, a corrected
// square root) and its logarithm taken by the double-double kernel, rounded once. Near
// the ends (asinh near 0, acosh near 1) the argument is 1 + d with d at least about
// sqrt(2(x - 1)) or |x|, far above the 2^-106 error of the double-double argument, so the
// relative error stays below about 2^-70. Beyond 2^60 the square root is |x| to far below
// an ulp and the functions are ln|x| + ln 2.
#include "real/inverse_hyperbolic.h"

#include <cmath>

#include "core/complex.h"
#include "core/double_double.h"
#include "real/fast_path_rounding.h"
#include "real/log.h"
#include "real/log_kernels.h"
#include "real/tables.h"

namespace kx::real {
namespace {

constexpr double identityBound = 0x1p-27;  // below, asinh x rounds to x (x³/6 is under 2^-55·x)
constexpr double largeArgument = 0x1p+60;  // beyond, x² ± 1 is x² to 2^-120

// ln(2|x|) for |x| > largeArgument, finite.
// The fast logarithm's error is relative to ln|x| > 41, which adding ln 2 only enlarges.
double logOfTwice(double ax) {
    const DoubleDouble fast = ddAdd(wide::fastLog({ax, 0.0}), tables::lnTwo);
    if (roundingDecided(fast, fastLogarithmBound)) return fast.high;
    return rounded(ddAdd(wide::log({ax, 0.0}), tables::lnTwo));
}

}  // namespace

double asinh(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax < identityBound || std::isinf(x)) return x;
    if (ax > largeArgument) return std::copysign(logOfTwice(ax), x);
    const DoubleDouble root = ddSquareRoot(ddAdd(twoProduct(ax, ax), {1.0, 0.0}));
    return std::copysign(roundedLog(ddAdd({ax, 0.0}, root)), x);
}

double acosh(double x) {
    if (std::isnan(x)) return x + x;
    if (x < 1.0) return defaultNaN;
    if (x == 1.0) return +0.0;
    if (std::isinf(x)) return x;
    if (x > largeArgument) return logOfTwice(x);
    const DoubleDouble root = ddSquareRoot(ddMultiply(twoSum(x, -1.0), twoSum(x, 1.0)));
    return roundedLog(ddAdd({x, 0.0}, root));
}

}  // namespace kx::real
