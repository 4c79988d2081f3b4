// The modulus sqrt(x² + y²), rounded once from a double-double.
//
// Both parts are scaled by the same power of two 2^-e (exact) so that the larger lies in
// [1, 2); the squares are formed exactly by two-products and added in double-double, and the
// double-double square root (one Newton correction of the rounded root) is rounded once and
// scaled back. Relative error of the double-double root about 2^-100, so the result is
// correctly rounded unless the exact value is within about 2^-47 ulp of a rounding boundary.
// A result below the normal range is rounded directly onto the subnormal grid, not rounded
// twice. When the parts differ by more than 2^60 the modulus is the larger part.
#include "real/hypot.h"

#include <cmath>
#include <limits>

#include "core/double_double.h"
#include "core/power_of_two.h"

namespace kx::real {
namespace {

constexpr int negligibleExponentGap = 60;  // below 2^-60·a, b adds under 2^-121 relative to a
constexpr double smallestSubnormal = 0x1p-1074;

// root·2^exponent rounded once to a double, for a normalized double-double root in [1, 4).
double scaledBack(DoubleDouble root, int exponent) {
    const double result = scaledByPowerOfTwo(root.high, exponent);
    if (std::fabs(result) >= std::numeric_limits<double>::min()) return scaledByPowerOfTwo(rounded(root), exponent);
    // Below the normal range ldexp rounds onto the subnormal grid; the remainder (with the
    // low part) decides whether that rounding must move one step.
    const double remainder = (root.high - scaledByPowerOfTwo(result, -exponent)) + root.low;  // exact difference
    const double halfStep = scaledByPowerOfTwo(smallestSubnormal, -exponent) * 0.5;
    if (remainder > halfStep) return result + smallestSubnormal;
    if (remainder < -halfStep) return result - smallestSubnormal;
    return result;
}

}  // namespace

double hypot(double x, double y) {
    if (std::isinf(x) || std::isinf(y)) return std::numeric_limits<double>::infinity();
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const double a = std::fmax(std::fabs(x), std::fabs(y));
    const double b = std::fmin(std::fabs(x), std::fabs(y));
    if (b == 0.0) return a;
    const int exponent = std::ilogb(a);
    if (exponent - std::ilogb(b) > negligibleExponentGap) return a;
    const double scaledA = scaledByPowerOfTwo(a, -exponent);  // in [1, 2)
    const double scaledB = scaledByPowerOfTwo(b, -exponent);  // exact: at least 2^-61, so normal
    const DoubleDouble sumOfSquares = ddAdd(twoProduct(scaledA, scaledA), twoProduct(scaledB, scaledB));
    return scaledBack(ddSquareRoot(sumOfSquares), exponent);
}

}  // namespace kx::real
