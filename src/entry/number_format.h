// Writing one double as the calculator prints it, independent of the host's locale.
#pragma once

namespace kx {

// The longest text formatNumber writes, without a terminator: a sign, 15 digits, a
// point, and an exponent "e-308" of three digits.
inline constexpr int maxNumberLength = 22;

enum class SignStyle { Negative, Always };

// Writes value as "%.15g" does (fixed form for decimal exponents -4 to 14, exponent form
// otherwise, trailing zeros removed), with a three-digit exponent (1e+020, 1e-005), "inf"
// and "nan" for the special values; SignStyle::Always adds "+" to non-negative values.
// Returns the end of the text written; no terminator. The maxNumberLength bytes at out
// may all be written, whatever the length of the text: the text is copied out in pieces
// of fixed length.
char* formatNumber(char* out, double value, SignStyle sign);

}  // namespace kx
