// Portable real power x^y (see pow.cpp).
//
// Built from the IEEE basic operations (+ - * / sqrt, correctly rounded on every target with
// SSE2 and no contraction) and exact operations (frexp, scalings by powers of two, fabs, copysign) only, so a
// result is the same double on every system, whatever its C runtime's libm does.
// pow is correctly rounded, halfway powers rounded to even (pow.cpp).
#pragma once

namespace kx::real {

// x^y with the special cases of C99 Annex F: pow(x, ±0) = 1 and pow(1, y) = 1 even for a
// NaN operand; a negative finite x with a non-integer finite y gives NaN; an odd integer
// y keeps the sign of x (so of a zero and of an infinity); a zero x with y < 0 gives an
// infinity; overflow and underflow give inf and 0 of the right sign.
double pow(double x, double y);

namespace accurate {
double pow(double x, double y);  // the accurate path of pow, without the fast one in front
}

}  // namespace kx::real
