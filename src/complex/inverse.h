// The inverse circular and hyperbolic functions.
#pragma once

#include <span>

#include "core/complex.h"
#include "tables/operator_entry.h"

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

// FunctionTable records "asin" ... "acoth", in table order.
std::span<const TableEntry> inverseFunctionEntries();

}  // namespace kx
