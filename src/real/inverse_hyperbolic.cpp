// asinh x = ln(|x| + sqrt(x² + 1)) and acosh x = ln(x + sqrt((x - 1)(x + 1))), with the
// argument of the logarithm formed in double-double (exact squares, exact x ± 1, a corrected
// square root). The fast logarithm of it decides the rounding in most cases: near the ends
// (asinh near 0, acosh near 1) the argument is 1 + d with d at least about sqrt(2(x - 1))
// or |x|, far above the 2^-104 error of the double-double argument, so its share of the
// result's relative error stays below about 2^-75, inside the fast bound's slack.
// Otherwise the accurate path takes ln(1 + d) with d itself formed in double-double without
// cancellation, relative error about 2^-100 (d = a + a²/(1 + sqrt(1 + a²)) for asinh,
// (x - 1) + sqrt((x - 1)(x + 1)) for acosh), and rounds it where the test against
// accurateBound decides; what it leaves undecided is evaluated on balls, so both functions
// are correctly rounded (their values at doubles other than 0 and 1 are transcendental).
// Beyond 2^60 the square root is |x| to far below an ulp and the functions are
// ln|x| + ln 2 (the terms left out below 2^-120 of the result).
#include "real/inverse_hyperbolic.h"

#include <cmath>

#include "core/complex.h"
#include "core/double_double.h"
#include "real/ball_functions.h"
#include "real/fast_path_rounding.h"
#include "real/log.h"
#include "real/log_kernels.h"
#include "real/tables.h"

namespace kx::real {
namespace {

constexpr double identityBound = 0x1p-27;  // below, asinh x rounds to x (x³/6 is under 2^-55·x)
constexpr double largeArgument = 0x1p+60;  // beyond, x² ± 1 is x² to 2^-120

double asinhByBalls(double ax) {
    return roundedByBalls([ax](int bits) { return asinh(Ball(ax, bits)); });
}

double acoshByBalls(double x) {
    return roundedByBalls([x](int bits) { return acosh(Ball(x, bits)); });
}

// ln(2|x|) for |x| > largeArgument, finite.
// The fast logarithm's error is relative to ln|x| > 41, which adding ln 2 only enlarges.
double logOfTwice(double ax, double (*byBalls)(double)) {
    const DoubleDouble fast = ddAdd(wide::fastLog({ax, 0.0}), tables::lnTwo);
    if (roundingDecided(fast, fastLogarithmBound)) return fast.high;
    const DoubleDouble accurate = ddAdd(wide::log({ax, 0.0}), tables::lnTwo);
    return accurateRoundingDecided(accurate, accurateBound) ? accurate.high : byBalls(ax);
}

// ln(1 + d) rounded where the accurate test decides, else on balls.
double accurateLog1p(DoubleDouble d, double argument, double (*byBalls)(double)) {
    const DoubleDouble result = wide::log1p(d);
    return accurateRoundingDecided(result, accurateBound) ? result.high : byBalls(argument);
}

}  // namespace

double asinh(double x) {
    if (std::isnan(x)) return x + x;
    const double ax = std::fabs(x);
    if (ax < identityBound || std::isinf(x)) return x;
    if (ax > largeArgument) return std::copysign(logOfTwice(ax, asinhByBalls), x);
    const DoubleDouble square = twoProduct(ax, ax);
    const DoubleDouble root = ddSquareRoot(ddAdd(square, {1.0, 0.0}));
    const DoubleDouble fast = wide::fastLog(ddAdd({ax, 0.0}, root));
    if (roundingDecided(fast, fastLogarithmBound)) return std::copysign(fast.high, x);
    const DoubleDouble d = ddAdd({ax, 0.0}, ddDivide(square, ddAdd(root, {1.0, 0.0})));
    return std::copysign(accurateLog1p(d, ax, asinhByBalls), x);
}

double acosh(double x) {
    if (std::isnan(x)) return x + x;
    if (x < 1.0) return defaultNaN;
    if (x == 1.0) return +0.0;
    if (std::isinf(x)) return x;
    if (x > largeArgument) return logOfTwice(x, acoshByBalls);
    const DoubleDouble below = twoSum(x, -1.0);
    const DoubleDouble root = ddSquareRoot(ddMultiply(below, twoSum(x, 1.0)));
    const DoubleDouble fast = wide::fastLog(ddAdd({x, 0.0}, root));
    if (roundingDecided(fast, fastLogarithmBound)) return fast.high;
    return accurateLog1p(ddAdd(below, root), x, acoshByBalls);
}

}  // namespace kx::real
