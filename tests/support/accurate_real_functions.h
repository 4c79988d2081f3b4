// The accurate paths of the portable real functions and of the complex power, kept
// callable so that tests can check that the fast paths in front of them never change a
// result.
#pragma once

#include "core/complex.h"
#include "real/real_functions.h"

namespace kx::real::accurate {

SineCosine sinCos(double x);
double exp(double x);
double log(double x);
double log1p(double u);
double pow(double x, double y);
double atan2(double y, double x);

}  // namespace kx::real::accurate
