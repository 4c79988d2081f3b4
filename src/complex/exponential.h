// The exponential family: abs, sqrt, exp, ln, log and the power operator "^", with the
// two computations they share, the scaled modulus and the scaled exponential product.
//
// The operations carry the calculator's names (sqrt, exp, log, abs) inside namespace kx;
// code in this namespace calls the real functions as std::sqrt, std::exp and so on.
#pragma once

#include <span>

#include "core/complex.h"
#include "tables/operator_entry.h"

namespace kx {

// |z| = m·2^k. k is 2 or -2 when the parts were scaled, 0 when z is zero, has an infinite
// part (m = +inf) or a NaN part (m is that NaN, the real part tested first).
struct ScaledModulus {
    double m;
    int k;
};
ScaledModulus scaledModulus(Complex z);

// t·e^a without forming e^a alone: finite whenever t·e^a is, gradual underflow, NaN when
// either argument is NaN, +0 when a < -1842 or t is zero.
double scaledExponentialProduct(double a, double t);

Complex abs(Complex z);   // (|z|, +0)
Complex sqrt(Complex z);  // principal square root, real part never below zero
Complex exp(Complex z);   // e^z
Complex ln(Complex z);    // principal natural logarithm, imaginary part in [-pi, pi]
Complex log(Complex z);   // principal base-10 logarithm
Complex power(Complex base, Complex exponent);  // base ^ exponent

// FunctionTable records "sqrt", "exp", "ln", "log", "abs", in table order.
std::span<const TableEntry> exponentialFunctionEntries();
// OperatorTable record "^".
std::span<const TableEntry> powerOperatorEntries();

}  // namespace kx
