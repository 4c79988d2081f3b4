// z^n by binary powering in double-double arithmetic, each part rounded once at the end.
//
// Each part of the running power is a double-double times its own power of two, so no
// product overflows or underflows, whatever |z|^n is and however far apart the parts
// are in size; the power of two is applied once, in the final rounding (overflow only
// when the part itself overflows, gradual underflow).
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

#include <bit>
#include <cmath>
#include <cstdlib>

#include "core/double_double.h"
#include "real/exp.h"

namespace kx {
namespace {

// value·2^exponent, value a double-double whose high part is zero or in [2^-450, 2^450].
// Moderate powers keep exponent 0 throughout; a part leaving that window is scaled back
// to near 1 by an exact power of two.
struct ScaledPart {
    DoubleDouble value;
    int exponent;
};

// (re + i·im), each part with its own power of two, so that neither part of a power
// overflows or underflows on the way whatever their sizes and ratio.
struct ScaledWideComplex {
    ScaledPart re;
    ScaledPart im;
};

// Products of two values in the window stay below Veltkamp's limit of 2^996 and keep their
// low parts above the normal range (2^-900·2^-106 > 2^-1022).
constexpr double windowHigh = 0x1p450;
constexpr double windowLow = 0x1p-450;
// Beyond this difference of exponents the addend with the smaller one is below 2^-1000
// of the other (each value is within the window): left out.
constexpr int negligibleExponentGap = 2000;

bool isZero(const ScaledPart& a) { return a.value.high == 0.0; }

ScaledPart kept(DoubleDouble value, int exponent) {
    const double magnitude = std::fabs(value.high);
    if (magnitude == 0.0) return {{0.0, 0.0}, 0};
    if (magnitude <= windowHigh && magnitude >= windowLow) return {value, exponent};
    int shift = 0;
    std::frexp(value.high, &shift);
    return {ddTimesPowerOfTwo(value, -shift), exponent + shift};
}

ScaledPart times(const ScaledPart& a, const ScaledPart& b) {
    return kept(ddMultiply(a.value, b.value), a.exponent + b.exponent);
}

// The addend with the smaller exponent is scaled to the other's; if that underflows, it
// was below 2^-550 of the other.
ScaledPart plus(const ScaledPart& a, const ScaledPart& b) {
    if (isZero(b)) return a;
    if (isZero(a)) return b;
    if (a.exponent == b.exponent) return kept(ddAdd(a.value, b.value), a.exponent);
    const bool aFirst = a.exponent > b.exponent;
    const ScaledPart& first = aFirst ? a : b;
    const ScaledPart& second = aFirst ? b : a;
    const int gap = first.exponent - second.exponent;
    if (gap > negligibleExponentGap) return first;
    const DoubleDouble aligned = ddTimesPowerOfTwo(second.value, -gap);
    return kept(ddAdd(first.value, aligned), first.exponent);
}

ScaledPart minus(const ScaledPart& a) { return {negated(a.value), a.exponent}; }

ScaledWideComplex product(const ScaledWideComplex& a, const ScaledWideComplex& b) {
    return {plus(times(a.re, b.re), minus(times(a.im, b.im))), plus(times(a.re, b.im), times(a.im, b.re))};
}

// 1/z = conj(z)/|z|².
ScaledWideComplex reciprocal(const ScaledWideComplex& z) {
    const ScaledPart squaredModulus = plus(times(z.re, z.re), times(z.im, z.im));
    const auto quotient = [&](const ScaledPart& part) -> ScaledPart {
        if (isZero(part)) return part;
        return kept(ddDivide(part.value, squaredModulus.value), part.exponent - squaredModulus.exponent);
    };
    return {quotient(z.re), minus(quotient(z.im))};
}

double rounded(const ScaledPart& part) {
    if (isZero(part)) return +0.0;
    return real::wide::roundTimesPowerOfTwo(part.value, part.exponent);
}

}  // namespace

Complex integerPower(Complex z, int n) {
    const unsigned magnitude = static_cast<unsigned>(std::abs(n));
    const ScaledWideComplex base{kept({z.re, 0.0}, 0), kept({z.im, 0.0}, 0)};
    ScaledWideComplex power = base;
    for (int bit = std::bit_width(magnitude) - 2; bit >= 0; --bit) {  // the leading bit is base itself
        power = product(power, power);
        if ((magnitude >> bit) & 1u) power = product(power, base);
    }
    if (n < 0) power = reciprocal(power);
    return {rounded(power.re), rounded(power.im)};
}

}  // namespace kx
