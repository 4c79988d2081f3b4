// The product parts, for sin(x + iy) = (sin x·cosh y, cos x·sinh y) and its kin.
//
// Fast path: sin t and cos t unrounded (real::wideSinCos, each within 2^-64 of itself), cosh g
// and sinh g, or e^g, unrounded with their powers of two kept apart (scaledWideSinhCosh,
// scaledWideExponential, within 2^-64), each factor scaled into [1/2, 1)·2^k exactly, so the
// product of the two double-doubles (ddMultiply, 2^-104) is formed away from both ends of
// the range whatever the size of the result. A part is then within (1 + 2^-64)² - 1 + 2^-104
// < 2^-62.99 of itself, and taken when every number within 2^-62 of it rounds to the same
// normal double, or overflows (part_rounding.h): it is then the correctly rounded part.
//
// Otherwise (a part within about 2^-10 ulp of a halfway point: one in a few hundred) the
// same product of the accurate factors (real::wide::sinCos, scaledAccurateSinhCosh,
// scaledAccurateExponential, about 2^-99 each) is tested against accuratePartBound, and
// what that leaves undecided (results below the normal range, arguments t beyond 2^50, and
// about one part in 2^36 of the rest) is the same product on balls, ball sine or cosine
// times ball cosh, sinh or exponential, which rounds correctly, on the subnormal grid too.
// No part can be a halfway point or an exact nonzero double for finite nonzero g: such a
// product is transcendental (Lindemann-Weierstrass), so the balls always decide.
#include "complex/product_parts.h"

#include <cmath>

#include "complex/hyperbolic_products.h"
#include "core/ball.h"
#include "real/ball_functions.h"
#include "real/sin_cos.h"

namespace kx {
namespace {

constexpr double fastPartBound = 0x1p-62;
// real::wide::sinCos takes arguments below this.
constexpr double largestAccurateCircularArgument = 0x1p50;

ProductFactors factors(real::WideSineCosine circular, double g, bool exponential, bool accurate) {
    ProductFactors result{normalised(circular.sine), normalised(circular.cosine), {}, {}};
    if (exponential) {
        result.first = normalised(accurate ? scaledAccurateExponential(g) : scaledWideExponential(g));
    } else {
        const ScaledSinhCosh growth = accurate ? scaledAccurateSinhCosh(g) : scaledWideSinhCosh(g);
        result.first = normalised(growth.cosh);
        result.second = normalised(growth.sinh);
    }
    return result;
}

bool decidedProduct(const ProductFactors& f, ProductPart part, double bound, double& result) {
    const ScaledDoubleDouble& circular = part.circular == Circular::sine ? f.sine : f.cosine;
    const ScaledDoubleDouble& growth = part.growth == Growth::sinh ? f.second : f.first;
    const DoubleDouble product = ddMultiply(circular.value, growth.value);
    return decidedPart(part.negated ? negated(product) : product, circular.exponent + growth.exponent, bound, result);
}

Ball circularBall(Circular circular, double t, int bits) {
    const real::BallSineCosine both = real::sinCos(Ball(t, bits));
    return circular == Circular::sine ? both.sine : both.cosine;
}

Ball growthBall(Growth growth, double g, int bits) {
    const Ball argument(g, bits);
    if (growth == Growth::exponential) return real::exp(argument);
    const real::BallSinhCosh both = real::sinhCosh(argument);
    return growth == Growth::cosh ? both.cosh : both.sinh;
}

}  // namespace

ProductParts::ProductParts(double t, double g, bool exponential)
    : t_(t), g_(g), exponential_(exponential), fast_(factors(real::wideSinCos(t), g, exponential, false)) {}

double ProductParts::rounded(ProductPart part, PartPath path) {
    double result = 0.0;
    if (path == PartPath::fastFirst) {
        if (decidedProduct(fast_, part, fastPartBound, result)) return result;
        if (std::fabs(t_) < largestAccurateCircularArgument) {
            if (!accurateFormed_) {
                accurate_ = factors(real::wide::sinCos({t_, 0.0}), g_, exponential_, true);
                accurateFormed_ = true;
            }
            if (decidedProduct(accurate_, part, accuratePartBound, result)) return result;
        }
    }
    return roundedByBalls([&](int bits) {
        const Ball product = circularBall(part.circular, t_, bits) * growthBall(part.growth, g_, bits);
        return part.negated ? -product : product;
    });
}

}  // namespace kx
