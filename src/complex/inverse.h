// The inverse circular and hyperbolic functions.
#pragma once

#include "core/complex.h"

namespace kx {

Complex arcsine(Complex z);
Complex arccosine(Complex z);
Complex arctangent(Complex z);
Complex arcsecant(Complex z);
Complex arccosecant(Complex z);
Complex arccotangent(Complex z);
Complex inverseHyperbolicSine(Complex z);
Complex inverseHyperbolicCosine(Complex z);
Complex inverseHyperbolicTangent(Complex z);
Complex inverseHyperbolicSecant(Complex z);
Complex inverseHyperbolicCosecant(Complex z);
Complex inverseHyperbolicCotangent(Complex z);

}  // namespace kx
