// The complex power z ^ w: the real power for two real operands, z·z·...·z for a small
// integer exponent, e^(w·ln z) otherwise, each part correctly rounded.
#pragma once

#include "core/complex.h"

namespace kx {

Complex power(Complex base, Complex exponent);  // base ^ exponent

namespace accurate {

// The same power through the accurate double-double path and the balls behind it, never the
// fast path in front of them: the fast path gives the same parts wherever it answers (tests
// check it).
Complex power(Complex base, Complex exponent);

}  // namespace accurate

}  // namespace kx
