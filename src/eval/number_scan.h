// Reading a number literal of the language.
#pragma once

#include <cstdint>

namespace kx {

struct ScannedNumber {
    double value;
    const char* end;  // first character after the literal; the start when nothing was read
};

namespace scanning {

// The literals that scanNumber's short path leaves (an exponent, more than 15 digits, or a
// full stop with no digit), from the mantissa it has read: digits [. digits] from text to
// mantissaEnd, their count and value (which wraps past 19 digits), passed in registers.
ScannedNumber finishNumber(const char* text, const char* mantissaEnd, std::uint64_t digits, long count,
                           long fractionDigits);

// The powers of ten that a double holds exactly.
inline constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits at p appended to digits; returns the first character after them.
inline const char* gatherDigits(const char* p, std::uint64_t& digits) {
    for (;; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};  // a non-digit wraps above 9
        if (digit > 9) return p;
        digits = digits * 10 + digit;
    }
}

}  // namespace scanning

// Reads the longest literal at text: digits [. digits] or . digits, then optionally an
// exponent of e or d, an optional sign and digits. The value is the nearest double;
// too large reads as infinity, too small as 0. A full stop with no digit after it reads
// nothing: value 0, end == text.
//
// Most literals are short and have no exponent ("2", "0.5", "3.14159"): their digits, at
// most 2^53, and one division by an exact power of ten give the correctly rounded value
// in a single pass, inline in the scanner. Every other literal is finished out of line,
// from the digits already read.
inline ScannedNumber scanNumber(const char* text) {
    std::uint64_t digits = 0;
    const char* const integerEnd = scanning::gatherDigits(text, digits);
    const char* end = integerEnd;
    long fractionDigits = 0;
    if (*end == '.') {
        end = scanning::gatherDigits(integerEnd + 1, digits);
        fractionDigits = end - integerEnd - 1;
    }
    constexpr long maxExactDigits = 15;  // below 2^53 whatever they are
    const long count = (integerEnd - text) + fractionDigits;
    if (count == 0 || count > maxExactDigits || *end == 'e' || *end == 'd') {
        return scanning::finishNumber(text, end, digits, count, fractionDigits);
    }
    return {static_cast<double>(static_cast<std::int64_t>(digits)) / scanning::exactPowersOfTen[fractionDigits], end};
}

}  // namespace kx
