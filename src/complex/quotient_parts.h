// The parts of tan, cot, tanh, coth and of the reciprocals sec, csc, sech, csch at finite
// arguments other than zero, each rounded once to the nearest double.
#pragma once

#include "complex/part_rounding.h"
#include "core/complex.h"

namespace kx {

enum class Quotient {
    tangent,
    cotangent,
    hyperbolicTangent,
    hyperbolicCotangent,
    secant,
    cosecant,
    hyperbolicSecant,
    hyperbolicCosecant,
};

// The function at z, z finite and not zero.
Complex roundedQuotient(Quotient function, Complex z, PartPath path);

}  // namespace kx
