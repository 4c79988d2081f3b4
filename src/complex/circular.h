// The circular and hyperbolic functions and their reciprocals.
#pragma once

#include "core/complex.h"

namespace kx {

// 1/w by Smith's scaling with the numerator 1 + 0i folded in. A NaN part or a zero w
// gives the default NaN pair. The parts are 1/d and (-r)/d, or r/d and (-1)/d, so the
// sign of a zero part follows the negated ratio r.
Complex reciprocal(Complex w);

Complex sine(Complex z);
Complex cosine(Complex z);
Complex tangent(Complex z);
Complex secant(Complex z);
Complex cosecant(Complex z);
Complex cotangent(Complex z);
Complex hyperbolicSine(Complex z);
Complex hyperbolicCosine(Complex z);
Complex hyperbolicTangent(Complex z);
Complex hyperbolicSecant(Complex z);
Complex hyperbolicCosecant(Complex z);
Complex hyperbolicCotangent(Complex z);

// The same evaluated on balls alone, without the fast paths in front (for the tests that
// check a fast path never changes a result).
namespace accurate {
Complex sine(Complex z);
Complex cosine(Complex z);
Complex tangent(Complex z);
Complex secant(Complex z);
Complex cosecant(Complex z);
Complex cotangent(Complex z);
Complex hyperbolicSine(Complex z);
Complex hyperbolicCosine(Complex z);
Complex hyperbolicTangent(Complex z);
Complex hyperbolicSecant(Complex z);
Complex hyperbolicCosecant(Complex z);
Complex hyperbolicCotangent(Complex z);
}  // namespace accurate

}  // namespace kx
