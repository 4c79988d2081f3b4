// The parts of sin, cos, sinh, cosh and exp: a sine or cosine of one real argument t times a
// cosh, sinh or exponential of the other, g, each rounded once to the nearest double.
#pragma once

#include "complex/part_rounding.h"
#include "core/double_double.h"

namespace kx {

enum class Circular { sine, cosine };
enum class Growth { cosh, sinh, exponential };

// ±circular(t)·growth(g).
struct ProductPart {
    Circular circular;
    Growth growth;
    bool negated;
};

// From this |g| on every product with a nonzero circular factor is beyond the double
// range: |sin t| >= 2^-1074·(1 - 2^-100) and e^1455/2 > 2^2098.1.
inline constexpr double productGrowthLimit = 1455.0;
// Below this g every product with the exponential is below half the smallest subnormal:
// e^-745.2 < 2^-1075.07.
inline constexpr double productExponentialFloor = -745.2;

// The factors at one argument, unrounded, as value·2^exponent with |value| in [1/2, 1).
struct ProductFactors {
    ScaledDoubleDouble sine;    // sin t (zero when t is)
    ScaledDoubleDouble cosine;  // cos t
    ScaledDoubleDouble first;   // cosh g, or e^g
    ScaledDoubleDouble second;  // sinh g (not formed for the exponential)
};

// The parts at (t, g): t finite, g finite and nonzero with |g| < productGrowthLimit (and
// g >= productExponentialFloor for the exponential). The fast factors are formed at once,
// the accurate ones when a part first needs them.
class ProductParts {
public:
    ProductParts(double t, double g, bool exponential);
    // The part rounded to nearest, its circular factor nonzero (not sin 0).
    double rounded(ProductPart part, PartPath path);

private:
    double t_;
    double g_;
    bool exponential_;
    ProductFactors fast_;
    ProductFactors accurate_{};
    bool accurateFormed_ = false;
};

}  // namespace kx
