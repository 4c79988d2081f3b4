// The parts of ln z and log z that are not special values: ln|z|, log10|z| and arg z / ln 10,
// each rounded once to the nearest double.
#pragma once

#include "complex/part_rounding.h"
#include "core/ball.h"
#include "core/complex.h"

namespace kx {

// For finite z not zero.
double roundedLogOfModulus(Complex z, PartPath path);
// ln|z| on balls of `bits` bits, for z finite and not zero.
Ball logOfModulusOnBalls(Complex z, int bits);
double roundedDecimalLogOfModulus(Complex z, PartPath path);
double roundedDecimalAngle(Complex z, PartPath path);

// angle/ln 10 for an angle that is a whole number of eighths of a turn as atan2 rounds it
// (the angles of the zero and the infinite arguments): ±0 stays itself.
double roundedDecimalEighthsOfTurn(double angle, PartPath path);

}  // namespace kx
