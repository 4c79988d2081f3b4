// formatResult: the text of a result, with parts at or below the tolerance left out.
#pragma once

#include "core/complex.h"

namespace kx {

// Room for the longest result text and its terminator: two numbers, a sign and an "i".
inline constexpr int maxResultLength = 46;

// Writes the result text and a terminating NUL at out; returns the end of the text. Bytes
// after the terminator, within the maxResultLength at out, may be written too.
char* formatResult(char* out, Complex value, double tolerance);

}  // namespace kx
