// Complex arithmetic: sum, difference, product, quotient, part-wise remainder, signs.
//
// The product is the schoolbook formula with plain IEEE products, so an infinite part
// meeting a zero part gives NaN where they meet. The quotient is Smith's method
// (R. L. Smith, "Algorithm 116: Complex division", CACM 5(8), 1962): the divisor is
// scaled by the ratio of its smaller part to its larger one, which avoids overflow in
// the denominator for all but extreme operands. A NaN or zero divisor gives the default
// NaN pair; the dividend is never inspected.
#include "complex/arithmetic.h"

#include <cmath>

namespace kx {
namespace {

// 0 == -0, and NaN is not zero.
bool isZero(double value) { return value == 0.0; }

}  // namespace

Complex add(Complex z, Complex w) { return {z.re + w.re, z.im + w.im}; }

Complex subtract(Complex z, Complex w) { return {z.re - w.re, z.im - w.im}; }

Complex multiply(Complex z, Complex w) {
    return {z.re * w.re - z.im * w.im, z.im * w.re + z.re * w.im};
}

Complex divide(Complex z, Complex w) {
    const double x = z.re, y = z.im, u = w.re, v = w.im;
    if (std::isnan(u) || std::isnan(v)) return defaultNaNPair;
    if (std::fabs(v) < std::fabs(u)) {
        const double r = v / u;
        const double d = u + v * r;
        if (std::isnan(d) || isZero(d)) return defaultNaNPair;
        return {(x + y * r) / d, (y - x * r) / d};
    }
    if (isZero(v)) return defaultNaNPair;  // |u| <= |v| = 0: the divisor is zero
    const double r = u / v;
    const double d = v + u * r;
    if (std::isnan(d) || isZero(d)) return defaultNaNPair;
    return {(x * r + y) / d, (y * r - x) / d};
}

// Two real operands (zero imaginary parts of either sign) give the real remainder with a
// +0 imaginary part, as the power operator treats two real operands: fmod(0, 0) would
// otherwise make every real remainder complex with a NaN imaginary part, and 7 % 3 + i
// would lose its i. Anything else is part by part.
Complex remainder(Complex z, Complex w) {
    if (isZero(z.im) && isZero(w.im)) return {std::fmod(z.re, w.re), +0.0};
    return {std::fmod(z.re, w.re), std::fmod(z.im, w.im)};
}

Complex prefixPlus(Complex z) { return z; }

Complex negate(Complex z) { return {-z.re, -z.im}; }

}  // namespace kx
