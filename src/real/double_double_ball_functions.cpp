// The real functions on double-double balls. Each result's radius is the kernel's relative
// error bound times the result (fastLog, fastLog1p and fastAtan: below 2^-65.4, counted as
// 2^-65), plus the spread of the function over the argument's ball bounded by its largest
// derivative there (1/(m - r) for ln, 1/(1 + m - r) for ln(1 + ·), 1 for atan), plus the
// errors of the double-double steps around the kernels.
//
// The rounding test (roundsToOneDouble): with mid = h + l and radius r, the ends h + l ± r
// round to the same double D when the computed h + (l ± margin) do, for a margin m with
// m(1 - u) >= r + u|l|: the rounding of l ± m is then no more than m - r, so the computed
// sums bracket the ends, and rounding is monotonic. m = r(1 + 2^-45) + 2^-103|h| meets
// that (|l| <= 2^-53|h|), and every point of the ball rounds to D. Where l ± m lies below
// the normal range the sum is exact. A normal h keeps D normal.
#include "real/double_double_ball_functions.h"

#include <cmath>

#include "real/inverse_circular.h"
#include "real/log.h"
#include "real/tables.h"

namespace kx::real {
namespace {

using namespace ballBounds;

constexpr double kernelError = 0x1p-65;
// Below this argument ln(1 + a) is a - a²/2 within |a|³ (for |a| <= 1/2), and atan a is a
// within 2^-120 of itself.
constexpr double tinyArgument = 0x1p-60;
// Inside [-1/2, 1] fastLog1p's bound holds; the boundaries are kept a little inside.
constexpr double log1pLowest = -0.49;
constexpr double log1pHighest = 0.99;
// Kernel results below this magnitude would have intermediate quotients near the subnormal
// range, where their relative bounds fail.
constexpr double smallestKernelResult = 0x1p-960;
// The balls whose magnitudes lie in this range are divided and squared unscaled.
constexpr double smallestUnscaled = 0x1p-500;
constexpr double largestUnscaled = 0x1p500;
// The error of the double-double constants π/2, π and ln 2 (half a unit of their low parts).
constexpr double constantError = 0x1p-105;

DoubleDoubleBall kernelResult(const DoubleDouble& value, double spread) {
    if (!(std::fabs(value.high) >= smallestKernelResult)) return unboundedBall();
    return {value, widened(spread + kernelError * std::fabs(value.high))};
}

// atan(s/l) for balls 0 <= s, l of highs sh <= lh: with q = sh/lh, s/l - q is
// (sl - q·ll)/lh·(1 + δ), |δ| <= 2^-51 (the low parts are below 2^-52 of the highs), and
// atan(s/l) = fastAtan(sh, lh) + (s/l - q)/(1 + q²) within (s/l - q)² <= 2^-102 (s/l)²
// (atan'' <= 0.65), so within 2^-100.5 of atan(s/l) >= (π/4)(s/l) with the correction's
// roundings; the kernel's error is 2^-65 of it. The spread over the balls is at most
// (rs + (s/l)·rl)/l. Below a ratio of 2^-60 atan is s/l within 2^-120 of itself.
DoubleDoubleBall arctangentOfRatio(const DoubleDoubleBall& s, const DoubleDoubleBall& l) {
    const double lowerLarger = lowerMagnitude(l.mid) - l.radius;
    if (!(lowerLarger > 0.0)) return unboundedBall();
    const double ratio = s.mid.high / l.mid.high;
    const double spread = (s.radius + (ratio * (1.0 + 0x1p-50) + 0x1p-1000) * l.radius) / lowerLarger;
    if (ratio < tinyArgument) {
        const DoubleDoubleBall quotient = s / l;
        return {quotient.mid, widened(quotient.radius + 0x1p-118 * std::fabs(quotient.mid.high))};
    }
    const double lowShare = (s.mid.low - ratio * l.mid.low) / l.mid.high;
    const DoubleDouble angle = ddAdd(wide::fastAtan(s.mid.high, l.mid.high), {lowShare / (1.0 + ratio * ratio), 0.0});
    return {angle, widened(spread + kernelError * std::fabs(angle.high) + 0x1p-100 * ratio)};
}

// The exponent by which both balls are scaled so that the larger lies in [1/2, 1), or 0
// when both lie in the unscaled range.
int commonScale(const DoubleDoubleBall& a, const DoubleDoubleBall& b) {
    const double larger = std::fmax(std::fabs(a.mid.high), std::fabs(b.mid.high));
    if (larger >= smallestUnscaled && larger <= largestUnscaled) return 0;
    int exponent = 0;
    std::frexp(larger, &exponent);
    return exponent;
}

}  // namespace

DoubleDoubleBall halfPiBall() { return {tables::halfPi, constantError}; }
DoubleDoubleBall piBall() { return {tables::pi, constantError}; }
DoubleDoubleBall lnTwoBall() { return {tables::lnTwo, constantError}; }

DoubleDoubleBall log(const DoubleDoubleBall& a) {
    const double below = lowerMagnitude(a.mid) - a.radius;
    if (!(a.mid.high > 0.0 && below > 0.0 && a.mid.high < largestPart)) return unboundedBall();
    return kernelResult(wide::fastLog(a.mid), a.radius / below);
}

DoubleDoubleBall log1p(const DoubleDoubleBall& a) {
    const double m = a.mid.high;
    if (std::fabs(m) < tinyArgument) {  // a - a²/2, the square's rounding 2^-52 of it
        const double above = upperMagnitude(a.mid) + a.radius;
        if (!(above < 2.0 * tinyArgument)) return unboundedBall();
        const double halfSquare = 0.5 * m * m;
        const DoubleDouble value = ddAdd(a.mid, {-halfSquare, 0.0});
        const double error = above * above * above + 0x1p-51 * halfSquare + std::fabs(m * a.mid.low) +
                             addError * std::fabs(value.high);
        return {value, widened(a.radius * (1.0 + 0x1p-58) + error) + errorFloor};
    }
    if (m >= log1pLowest && m <= log1pHighest) {
        const double below = 1.0 + m * (1.0 + 0x1p-52) - a.radius;  // 1 + m, less the low part and the radius
        if (!(below > 0.0)) return unboundedBall();
        return kernelResult(wide::fastLog1p(a.mid), a.radius / below);
    }
    const DoubleDouble onePlus = ddAdd({1.0, 0.0}, a.mid);
    const double sumError = addError * std::fabs(onePlus.high);
    const double below = lowerMagnitude(onePlus) - a.radius - sumError;
    if (!(onePlus.high > 0.0 && below > 0.0 && onePlus.high < largestPart)) return unboundedBall();
    return kernelResult(wide::fastLog(onePlus), (a.radius + sumError) / below);
}

// atan2 = π/2 - atan(|x|/y) (x >= 0) or π/2 + atan(|x|/y) (x < 0) where y >= |x|, else
// atan(y/|x|) or π - atan(y/|x|) by the sign of x. y's ball may reach below zero (an
// underflowed y) where the caller knows y >= 0.
DoubleDoubleBall atan2(const DoubleDoubleBall& y, const DoubleDoubleBall& x) {
    if (!(y.mid.high >= 0.0)) return unboundedBall();
    const int exponent = commonScale(y, x);
    const DoubleDoubleBall ys = exponent == 0 ? y : scaled(y, -exponent);
    const DoubleDoubleBall xs = exponent == 0 ? x : scaled(x, -exponent);
    const bool negativeX = xs.mid.high < 0.0;
    const DoubleDoubleBall ax = negativeX ? -xs : xs;
    if (ys.mid.high >= ax.mid.high) {
        const DoubleDoubleBall angle = arctangentOfRatio(ax, ys);
        return negativeX ? halfPiBall() + angle : halfPiBall() - angle;
    }
    const DoubleDoubleBall angle = arctangentOfRatio(ys, ax);
    return negativeX ? piBall() - angle : angle;
}

DoubleDoubleBall hypot(const DoubleDoubleBall& a, const DoubleDoubleBall& b) {
    const int exponent = commonScale(a, b);
    if (exponent == 0) return sqrt(a * a + b * b);
    const DoubleDoubleBall as = scaled(a, -exponent);
    const DoubleDoubleBall bs = scaled(b, -exponent);
    return scaled(sqrt(as * as + bs * bs), exponent);
}

bool roundsToOneDouble(const DoubleDoubleBall& a, double& result) {
    const double h = a.mid.high;
    const double magnitude = std::fabs(h);
    if (!(magnitude >= 0x1p-1021 && magnitude <= 0x1p1000)) return false;  // NaN too
    const double margin = a.radius * (1.0 + 0x1p-45) + 0x1p-103 * magnitude;
    if (!(margin < 0x1p-50 * magnitude)) return false;  // an unbounded or wide ball
    const double below = h + (a.mid.low - margin);
    const double above = h + (a.mid.low + margin);
    if (below != above) return false;
    result = below;
    return true;
}

}  // namespace kx::real
