// to_chars and from_chars for double on libc++ 13, built on the C library's printf and
// strtod (musl's: exact decimal conversion, correctly rounded reading, no locale).
#include "wasm/libcxx13_support.h"

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {
namespace {

// The text of printf's conversion letter for a format, or 0 for one not provided.
char conversionLetter(chars_format format) {
    switch (format) {
        case chars_format::scientific: return 'e';
        case chars_format::fixed: return 'f';
        case chars_format::general: return 'g';
        case chars_format::hex: return 'a';
    }
    return 0;
}

to_chars_result copyOut(char* first, char* last, const char* text, int length) {
    if (length < 0 || length > last - first) return {last, errc::value_too_large};
    std::memcpy(first, text, static_cast<std::size_t>(length));
    return {first + length, errc{}};
}

// printf of one double; a fixed-format text of a huge value needs about 310 digits.
int printOne(char (&text)[400], char letter, int precision, double value) {
    const char format[] = {'%', '.', '*', letter, '\0'};
    return std::snprintf(text, sizeof text, format, precision, value);
}

double readBack(const char* text) { return std::strtod(text, nullptr); }

}  // namespace

to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    const char letter = conversionLetter(format);
    if (letter == 0) return {last, errc::invalid_argument};
    char text[400];
    return copyOut(first, last, text, printOne(text, letter, precision < 0 ? 6 : precision, value));
}

// The fewest significant digits that read back as value; at those digits printf's rounding
// gives the nearest such text. Scientific and general only.
to_chars_result to_chars(char* first, char* last, double value, chars_format format) {
    if (format != chars_format::scientific && format != chars_format::general) {
        return {last, errc::invalid_argument};
    }
    char text[400];
    if (!std::isfinite(value) || value == 0.0) {
        return copyOut(first, last, text, printOne(text, format == chars_format::scientific ? 'e' : 'g', 0, value));
    }
    for (int digits = 1; digits <= 17; ++digits) {
        const int length = printOne(text, 'e', digits - 1, value);
        if (digits < 17 && readBack(text) != value) continue;
        if (format == chars_format::general) return copyOut(first, last, text, printOne(text, 'g', digits, value));
        return copyOut(first, last, text, length);
    }
    return {last, errc::value_too_large};  // not reached: 17 digits always read back
}

from_chars_result from_chars(const char* first, const char* last, double& value, chars_format format) {
    if (format != chars_format::general && format != chars_format::scientific && format != chars_format::fixed) {
        return {first, errc::invalid_argument};
    }
    if (first == last || !(*first == '-' || *first == '.' || std::isalnum(static_cast<unsigned char>(*first)))) {
        return {first, errc::invalid_argument};  // no leading blank or plus sign
    }
    // strtod reads more forms than from_chars (hexadecimal ones): a decimal literal is
    // handed to it alone.
    const bool decimal = (*first == '-' ? first + 1 : first) != last &&
                         std::strchr("0123456789.", *(*first == '-' ? first + 1 : first)) != nullptr;
    const char* end = last;
    if (decimal) end = std::find_if(first + 1, last, [](char c) { return std::strchr("0123456789.eE+-", c) == nullptr || c == '\0'; });
    const std::string copy(first, end);  // strtod needs a terminator
    char* stopInCopy = nullptr;
    const double result = std::strtod(copy.c_str(), &stopInCopy);
    if (stopInCopy == copy.c_str()) return {first, errc::invalid_argument};
    const char* const stop = first + (stopInCopy - copy.c_str());
    const char* const mantissaEnd = std::find_if(first, stop, [](char c) { return c == 'e' || c == 'E'; });
    const bool nonzeroDigit = std::find_if(first, mantissaEnd, [](char c) { return c >= '1' && c <= '9'; }) != mantissaEnd;
    if (decimal && (std::isinf(result) || (result == 0.0 && nonzeroDigit))) {
        return {stop, errc::result_out_of_range};
    }
    value = result;
    return {stop, errc{}};
}

}  // namespace std

#endif
