// The accurate path of the complex power, kept callable so that tests can check that the
// fast path in front of it never changes a result (the real functions' accurate paths are
// declared in their headers in src/real).
#pragma once

#include "core/complex.h"

namespace kx::accurate {

Complex power(Complex base, Complex exponent);  // base ^ exponent

}  // namespace kx::accurate
