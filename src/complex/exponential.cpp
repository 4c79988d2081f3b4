// The exponential family, for z = x + iy:
//
//   abs z   = (|z|, +0), |z| = m·2^k from scaledModulus
//   sqrt z  = (s, y/(2s)) for x >= 0, s = sqrt((|z| + |x|)/2); for x < 0 the parts trade
//             places: (|y|/(2s), ±s) with the sign of y, +s when y is a zero of either sign
//   exp z   = (e^x·cos y, e^x·sin y)
//   ln z    = (ln|z|, atan2(y, x))
//   log z   = (log10|z|, arg z / ln 10)
//
// Branch cuts (W. Kahan, "Branch cuts for complex elementary functions", 1987): ln and log
// are cut along the negative real axis, and the sign of a zero y chooses the side: atan2
// gives +pi for +0 and -pi for -0. sqrt has the same cut, but on it the result is +s·i for
// either sign of zero.
//
// The modulus is Kahan's scaled form of sqrt(a² + b²): the larger part a and the smaller
// part b are scaled by 2^∓2 and |z| is formed as a + b/(q + sqrt(q² + 1)) with q = a/b,
// or through 1 + sqrt(2) held in two addends when b is close to a, so no intermediate
// value overflows or underflows and the result is within about one ulp. sqrt of an
// argument with both parts subnormal scales it by 2^600 first.
//
// Each part of exp is one product of e^x and the cosine or sine of y, formed unrounded and
// rounded once, correctly (product_parts.h): it overflows only when the part itself is
// beyond the range, and is rounded on the subnormal grid below it. On the real axis the
// parts are the real exp and +0; for x = 0 the real cosine and sine; where every product
// is a zero or an infinity (x below -745.2 or from 1455 on) and for infinite or NaN parts,
// they are E(x, cos y) and E(x, sin y) of the rounded cosine and sine, E(a, t) = t·e^a as
// scaledExponentialProduct forms it: it splits a = n·ln2 + r with ln 2 held in two parts
// (the upper one short enough that n times it is exact), forms t·e^r in double-double and
// scales by 2^n with one correctly rounded ldexp.
//
// ln|z|, log10|z| and arg z / ln 10 are correctly rounded (logarithm_parts.h), ln|z| = +0
// on |z| = 1 and log10|z| = k/2 exactly where x² + y² = 10^k; the imaginary part of ln is
// the real atan2. For the zero and the infinite arguments the parts are -inf or +inf and
// the angle of atan2, for log that angle (an eighth of a turn) over ln 10, correctly rounded.
//
// Accuracy: abs and sqrt within 1 ulp per part, E within 1 ulp wherever t·e^a is normal;
// exp, ln and log correctly rounded in each part. The real functions used (sin, cos, atan2,
// exp and the double-double kernels) are the portable ones of src/real, so results are the
// same on every system.
#include "complex/exponential.h"

#include <cmath>
#include <limits>
#include <utility>

#include "complex/logarithm_parts.h"
#include "complex/product_parts.h"
#include "core/double_double.h"
#include "core/power_of_two.h"
#include "real/exp.h"
#include "real/inverse_circular.h"
#include "real/sin_cos.h"
#include "real/tables.h"

namespace kx {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// scaledModulus: parts at or above this are scaled down by 4, parts below it up by 4.
constexpr double modulusScaleThreshold = 1.0;
// sqrt and ln of an argument whose parts are both subnormal: scaling by 4 leaves the
// modulus subnormal, with as few as two significant bits (enough to put sqrt(5e-324 +
// 5e-324i) 1.8% off), so the argument is first scaled by 2^600, exactly, and the result back.
constexpr int subnormalArgumentScale = 600;

// Both parts below the normal range, not both zero; false for a NaN part.
bool hasOnlySubnormalParts(Complex z) {
    constexpr double smallestNormal = std::numeric_limits<double>::min();
    return std::fabs(z.re) < smallestNormal && std::fabs(z.im) < smallestNormal && (z.re != 0.0 || z.im != 0.0);
}

Complex scaleParts(Complex z, int exponent) { return {scaledByPowerOfTwo(z.re, exponent), scaledByPowerOfTwo(z.im, exponent)}; }

}  // namespace

ScaledModulus scaledModulus(Complex z) {
    if (std::isnan(z.re)) return {z.re, 0};
    if (std::isnan(z.im)) return {z.im, 0};
    double a = std::fabs(z.re);
    double b = std::fabs(z.im);
    if (a < b) std::swap(a, b);
    if (a == 0.0) return {a, 0};
    if (std::isinf(a)) return {a, 0};
    int k = 0;
    if (a >= modulusScaleThreshold) {
        a *= 0.25;
        b *= 0.25;
        k = 2;
    } else {
        a *= 4.0;
        b *= 4.0;
        k = -2;
    }
    const double t = a - b;
    if (t == a) return {a, k};  // b is below half an ulp of a
    if (b < t) {
        const double q = a / b;
        return {a + b / (q + std::sqrt(q * q + 1.0)), k};
    }
    const double q = t / b;
    const double r = (q + 2.0) * q;
    double s = r / (real::tables::squareRootOfTwo + std::sqrt(r + 2.0));
    // 1 + sqrt(2) as two addends, added one after the other.
    s = s + real::tables::onePlusSquareRootOfTwoPart[0];
    s = s + real::tables::onePlusSquareRootOfTwoPart[1];
    s = s + q;
    return {a + b / s, k};
}

Complex abs(Complex z) {
    const auto [m, k] = scaledModulus(z);
    return {k == 0 ? m : scaledByPowerOfTwo(m, k), +0.0};
}

// w = sqrt((|z| + |x|)/2) = sqrt(2·(m + |x|·2^-k))·2^(k/2 - 1). For k = 2 the equal
// value 2·sqrt((m + |x|/4)/2) is used: the doubled sum passes the largest double when
// |z| + |x| does (x = y = 1.5e308), while the halved one is exact and in range, and
// correctly rounded square roots make the two forms agree bit for bit otherwise.
Complex sqrt(Complex z) {
    if (hasOnlySubnormalParts(z))  // sqrt(z) = sqrt(z·2^600)·2^-300
        return scaleParts(sqrt(scaleParts(z, subnormalArgumentScale)), -subnormalArgumentScale / 2);
    const auto [m, k] = scaledModulus(z);
    if (k == 0) return {m, m};  // zero, infinite or NaN part
    const double scaledSum = m + scaledByPowerOfTwo(std::fabs(z.re), -k);
    const double w = k > 0 ? scaledByPowerOfTwo(std::sqrt(0.5 * scaledSum), 1)
                           : scaledByPowerOfTwo(std::sqrt(2.0 * scaledSum), k / 2 - 1);
    const double x = z.re;
    const double y = z.im;
    if (x >= 0.0) return {w, y / (2.0 * w)};
    if (y >= 0.0) return {y / (2.0 * w), w};  // the negative real axis, y = ±0, gives +w
    return {-(y / (2.0 * w)), -w};
}

double scaledExponentialProduct(double a, double t) {
    if (std::isnan(a) || std::isnan(t)) return a + t;  // the NaN argument carries through
    if (a < -exponentialProductLimit) return +0.0;
    if (t == 0.0) return +0.0;
    if (a > exponentialProductLimit) return std::copysign(infinity, t);
    if (std::isinf(t)) return t;  // e^a is finite and positive here
    // a = n·ln2 + r with |r| at most a hair above ln2/2. a - n·upper is exact (n·upper
    // is exact and within a factor 2 of a), and the lower part joins it as a two-sum.
    const double n = std::nearbyint(a * real::tables::inverseLnTwo);
    // ln 2 in two parts, the upper with 32 significant bits, so n times it is exact for
    // |n| < 2^21 (here |n| <= 2658); the sum is within 1.2e-26 of ln 2.
    const double rUpper = a - n * real::tables::lnTwoShortPart[0];
    const DoubleDouble r = twoSum(rUpper, -(n * real::tables::lnTwoShortPart[1]));
    int tExponent = 0;
    const double tFraction = std::frexp(t, &tExponent);  // t = tFraction·2^tExponent, exact
    // tFraction·e^r·(1 + r.low), the last factor being e^(r.low) to well below an ulp.
    const DoubleDouble product = twoProduct(tFraction, real::exp(r.high));
    const double scaled = product.high + (product.low + product.high * r.low);
    return scaledByPowerOfTwo(scaled, static_cast<int>(n) + tExponent);
}

namespace {

template <PartPath path>
Complex expBy(Complex z) {
    const double x = z.re, y = z.im;
    if (std::isfinite(x) && y == 0.0) return {real::exp(x), +0.0};  // E(x, ±0) = +0
    if (x == 0.0 || !std::isfinite(y) || !(x >= productExponentialFloor && x < productGrowthLimit)) {
        // E of the rounded cosine and sine: (cos y, sin y) exactly, a NaN, an infinity or a zero.
        const real::SineCosine angle = real::sinCos(y);
        return {scaledExponentialProduct(x, angle.cosine), scaledExponentialProduct(x, angle.sine)};
    }
    ProductParts parts(y, x, true);
    return {parts.rounded({Circular::cosine, Growth::exponential, false}, path),
            parts.rounded({Circular::sine, Growth::exponential, false}, path)};
}

template <PartPath path>
Complex lnBy(Complex z) {
    if (std::isnan(z.re)) return {z.re, z.re};
    if (std::isnan(z.im)) return {z.im, z.im};
    const double theta = real::atan2(z.im, z.re);  // ±pi on the negative axis by the sign of y
    if (z.re == 0.0 && z.im == 0.0) return {-infinity, theta};
    if (std::isinf(z.re) || std::isinf(z.im)) return {infinity, theta};
    return {roundedLogOfModulus(z, path), theta};
}

template <PartPath path>
Complex logBy(Complex z) {
    if (std::isnan(z.re) || std::isnan(z.im) || std::isinf(z.re) || std::isinf(z.im) || (z.re == 0.0 && z.im == 0.0)) {
        const Complex natural = lnBy<path>(z);
        return {natural.re * real::tables::log10OfE, roundedDecimalEighthsOfTurn(natural.im, path)};
    }
    return {roundedDecimalLogOfModulus(z, path), roundedDecimalAngle(z, path)};
}

}  // namespace

Complex exp(Complex z) { return expBy<PartPath::fastFirst>(z); }
Complex ln(Complex z) { return lnBy<PartPath::fastFirst>(z); }
Complex log(Complex z) { return logBy<PartPath::fastFirst>(z); }

namespace accurate {
Complex exp(Complex z) { return expBy<PartPath::ballsOnly>(z); }
Complex ln(Complex z) { return lnBy<PartPath::ballsOnly>(z); }
Complex log(Complex z) { return logBy<PartPath::ballsOnly>(z); }
}  // namespace accurate

}  // namespace kx