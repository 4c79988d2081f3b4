// Complex arithmetic: sum, difference, product, quotient, part-wise remainder, the two signs.
#pragma once

#include "core/complex.h"

namespace kx {

Complex add(Complex z, Complex w);
Complex subtract(Complex z, Complex w);
Complex multiply(Complex z, Complex w);
Complex divide(Complex z, Complex w);
Complex remainder(Complex z, Complex w);
Complex prefixPlus(Complex z);
Complex negate(Complex z);

}  // namespace kx
