// Reading a number literal of the language.
#pragma once

namespace kx {

struct ScannedNumber {
    double value;
    const char* end;  // first character after the literal; the start when nothing was read
};

// Reads the longest literal at text: digits [. digits] or . digits, then optionally an
// exponent of e or d, an optional sign and digits. The value is the nearest double;
// too large reads as infinity, too small as 0. A full stop with no digit after it reads
// nothing: value 0, end == text.
ScannedNumber scanNumber(const char* text);

}  // namespace kx
