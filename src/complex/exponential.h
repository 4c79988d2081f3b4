// The exponential family: abs, sqrt, exp, ln and log, with the two computations they share,
// the scaled modulus (abs, sqrt, ln) and the scaled exponential product (exp, and the power
// of power.h).
//
// The operations are named sqrt, exp, log and abs inside namespace kx; code in this
// namespace calls the real functions as std::sqrt, std::exp and so on.
#pragma once

#include "core/complex.h"

namespace kx {

// |z| = m·2^k. k is 2 or -2 when the parts were scaled, 0 when z is zero, has an infinite
// part (m = +inf) or a NaN part (m is that NaN, the real part tested first).
struct ScaledModulus {
    double m;
    int k;
};
ScaledModulus scaledModulus(Complex z);

// Beyond this exponent magnitude t·e^a is zero or infinite for every double t
// (e^1842 > 2^1074 · 2^1024, the ratio of the largest double to the smallest).
inline constexpr double exponentialProductLimit = 1842.0;

// t·e^a without forming e^a alone: finite whenever t·e^a is, gradual underflow, NaN when
// either argument is NaN, +0 when a < -1842 or t is zero.
double scaledExponentialProduct(double a, double t);

Complex abs(Complex z);   // (|z|, +0)
Complex sqrt(Complex z);  // principal square root, real part never below zero
Complex exp(Complex z);   // e^z
Complex ln(Complex z);    // principal natural logarithm, imaginary part in [-pi, pi]
Complex log(Complex z);   // principal base-10 logarithm

// exp, ln and log evaluated on balls alone where the functions above take their fast paths
// (for the tests that check a fast path never changes a result).
namespace accurate {
Complex exp(Complex z);
Complex ln(Complex z);
Complex log(Complex z);
}  // namespace accurate

}  // namespace kx
