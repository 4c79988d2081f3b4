// z^n by binary powering in double-double arithmetic, each part rounded once at the end.
//
// The running power is (re + i·im)·2^exponent with double-double parts. The operands of a
// product are brought back near 1 by exact powers of two when the product would overflow
// or lose its low parts to underflow, so the power is formed whatever |z|^n is; the
// exponent is applied once, in the final rounding (overflow only when the part itself
// overflows, gradual underflow). A part below 2^-1074 of the larger one is lost in that
// scaling, which only a power near the ends of the double range can need.
//
// Exactness: the products of parts are exact (Dekker's two-product) and their sums are
// exact while they fit in double-double, so small Gaussian powers such as (1 + i)^100 or
// (3 + 4i)^2 are formed exactly, and a part that is zero (on the axes and the diagonals,
// the only places where a power of a non-real z can have one) is formed from exact zeros.
// Such a part is returned as +0, so i^2 is -1 + 0i.
//
// Error: a double-double complex product has a normwise relative error below 2^-101, and
// binary powering multiplies the relative error of a power by at most n over its steps,
// so z^n carries a normwise relative error below n·2^-101 <= 2^-91, and 1/z^n (a quotient
// by |z^n|² in double-double) below 2^-90. Each part is then within half an ulp plus
// 2^-90·|z^n| of the true part: correctly rounded in all but rare cases, and within one
// ulp unless the part is below 2^-37 of |z^n|. A part that small comes from n·arg z lying
// that close to a multiple of pi/2 (rare), or from a z close to an axis; there the parts
// of every partial power keep their ratio (no product in the imaginary part cancels), so
// the error stays relative to the part itself.
#include "complex/integer_power.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "complex/exact_arithmetic.h"
#include "complex/real_functions.h"

namespace kx {
namespace {

// (re + i·im)·2^exponent.
struct ScaledWideComplex {
    DoubleDouble re;
    DoubleDouble im;
    int exponent;
};

constexpr int largestSplitExponent = 995;
constexpr int largestProductExponent = 1022;  // parts below 2^1022 times 2: no overflow
constexpr int smallestProductExponent = -960;

DoubleDouble scaled(DoubleDouble a, int shift) { return {std::ldexp(a.high, shift), std::ldexp(a.low, shift)}; }

// The same value with the larger part in [1, 2) (unchanged when both parts are zero).
ScaledWideComplex normalized(ScaledWideComplex z) {
    const double larger = std::max(std::fabs(z.re.high), std::fabs(z.im.high));
    if (larger == 0.0) return z;
    int largerExponent = 0;
    std::frexp(larger, &largerExponent);
    const int shift = 1 - largerExponent;
    return {scaled(z.re, shift), scaled(z.im, shift), z.exponent - shift};
}

// The exponent of the larger part's magnitude, as frexp gives it (0 for zero parts).
int largerExponent(const ScaledWideComplex& z) {
    int exponent = 0;
    std::frexp(std::max(std::fabs(z.re.high), std::fabs(z.im.high)), &exponent);
    return exponent;
}

// The product, its operands first scaled to near 1 when a part of either is beyond the
// range of Veltkamp's split or the product's larger part would leave [2^-960, 2^1023)
// (where low parts fall below the normal range). Scaling only then keeps a small part
// that is far below the larger one (2^300 + 2^-800·i cubed).
ScaledWideComplex product(ScaledWideComplex a, ScaledWideComplex b) {
    const int aExponent = largerExponent(a);
    const int bExponent = largerExponent(b);
    if (aExponent > largestSplitExponent || bExponent > largestSplitExponent ||
        aExponent + bExponent > largestProductExponent || aExponent + bExponent < smallestProductExponent) {
        a = normalized(a);
        b = normalized(b);
    }
    const DoubleDouble re = ddSubtract(ddMultiply(a.re, b.re), ddMultiply(a.im, b.im));
    const DoubleDouble im = ddAdd(ddMultiply(a.re, b.im), ddMultiply(a.im, b.re));
    return {re, im, a.exponent + b.exponent};
}

// 1/z = conj(z)/|z|², z normalized so that |z|² is in [1, 8).
ScaledWideComplex reciprocal(ScaledWideComplex z) {
    const ScaledWideComplex n = normalized(z);
    const DoubleDouble squaredModulus = ddAdd(ddMultiply(n.re, n.re), ddMultiply(n.im, n.im));
    return {ddDivide(n.re, squaredModulus), negated(ddDivide(n.im, squaredModulus)), -n.exponent};
}

double roundedPart(DoubleDouble part, int exponent) {
    if (part.high == 0.0) return +0.0;
    return real::wide::roundTimesPowerOfTwo(part, exponent);
}

}  // namespace

Complex integerPower(Complex z, int n) {
    const unsigned magnitude = static_cast<unsigned>(std::abs(n));
    const ScaledWideComplex base{{z.re, 0.0}, {z.im, 0.0}, 0};
    ScaledWideComplex power = base;
    for (int bit = std::bit_width(magnitude) - 2; bit >= 0; --bit) {  // the leading bit is base itself
        power = product(power, power);
        if ((magnitude >> bit) & 1u) power = product(power, base);
    }
    if (n < 0) power = reciprocal(power);
    return {roundedPart(power.re, power.exponent), roundedPart(power.im, power.exponent)};
}

}  // namespace kx
