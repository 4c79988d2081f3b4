// to_chars and from_chars for double on libc++ 13 (declared in libcxx13_support.h), over two
// header-only libraries: {fmt} writes (Dragonbox's shortest digits, and its exact conversion
// at a given precision), fast_float reads (correctly rounded whatever the number of digits).
// Both work in integer arithmetic and neither looks at a locale; the C library's printf and
// strtod work in software binary128 arithmetic on WebAssembly, several times slower.
// With a newer standard library this unit compiles to nothing, so a native build of every
// source (python/setup.py) needs neither library.
#include "wasm/libcxx13_support.h"

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <fast_float/fast_float.h>
#define FMT_HEADER_ONLY
#define FMT_STATIC_THOUSANDS_SEPARATOR ','  // no std::locale: nothing here is localised
#include <fmt/compile.h>  // formats compiled in (FMT_COMPILE): no parser of format strings
#include <fmt/format.h>

namespace std {
namespace {

// Longest shortest text: a sign, 17 digits, a point and "e-324".
constexpr std::size_t longestShortest = 24;

to_chars_result copyOut(char* first, char* last, const char* text, std::size_t length) {
    if (length > static_cast<std::size_t>(last - first)) return {last, errc::value_too_large};
    std::memcpy(first, text, length);
    return {first + length, errc{}};
}

// "e+XX" (at least two digits) at out; the end.
char* writeExponent(char* out, int exponent) {
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
    *out++ = static_cast<char>('0' + magnitude / 10 % 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return out;
}

// The shortest scientific text of a double: "d.ddde+XX", "0e+00", "inf", "nan".
std::size_t shortestScientific(char (&text)[longestShortest], double value) {
    char* out = text;
    if (std::signbit(value)) *out++ = '-';
    const double magnitude = std::fabs(value);
    if (!std::isfinite(magnitude)) {
        std::memcpy(out, std::isnan(magnitude) ? "nan" : "inf", 3);
        return static_cast<std::size_t>(out + 3 - text);
    }
    if (magnitude == 0.0) {
        std::memcpy(out, "0e+00", 5);
        return static_cast<std::size_t>(out + 5 - text);
    }
    // The shortest digits that read back as the value, the nearer of two when there are
    // two, without trailing zeros; the exponent is that of the last digit.
    const auto decimal = fmt::detail::dragonbox::to_decimal(magnitude);
    const fmt::format_int digits(decimal.significand);
    const auto count = static_cast<int>(digits.size());
    *out++ = digits.data()[0];
    if (count > 1) {
        *out++ = '.';
        std::memcpy(out, digits.data() + 1, static_cast<std::size_t>(count - 1));
        out += count - 1;
    }
    return static_cast<std::size_t>(writeExponent(out, decimal.exponent + count - 1) - text);
}

// The decimal forms of a literal, as fast_float names them.
bool fastFloatFormat(chars_format format, fast_float::chars_format& form) {
    switch (format) {
        case chars_format::general: form = fast_float::chars_format::general; return true;
        case chars_format::scientific: form = fast_float::chars_format::scientific; return true;
        case chars_format::fixed: form = fast_float::chars_format::fixed; return true;
        case chars_format::hex: return false;
    }
    return false;
}

// Whether a decimal literal [first, stop) read as value lies beyond the doubles: it became
// infinite, or zero with a nonzero digit.
bool outOfRange(const char* first, const char* stop, double value) {
    const char* mantissa = first != stop && *first == '-' ? first + 1 : first;
    if (mantissa == stop || !((*mantissa >= '0' && *mantissa <= '9') || *mantissa == '.')) return false;  // inf, nan
    if (std::isinf(value)) return true;
    if (value != 0.0) return false;
    for (const char* at = mantissa; at != stop && *at != 'e' && *at != 'E'; ++at) {
        if (*at >= '1' && *at <= '9') return true;
    }
    return false;
}

}  // namespace

to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    if (precision < 0) precision = 6;
    const auto room = static_cast<std::size_t>(last - first);
    fmt::format_to_n_result<char*> written;
    switch (format) {
        case chars_format::general: written = fmt::format_to_n(first, room, FMT_COMPILE("{:.{}g}"), value, precision); break;
        case chars_format::scientific: written = fmt::format_to_n(first, room, FMT_COMPILE("{:.{}e}"), value, precision); break;
        case chars_format::fixed: written = fmt::format_to_n(first, room, FMT_COMPILE("{:.{}f}"), value, precision); break;
        default: return {last, errc::invalid_argument};
    }
    if (written.size > room) return {last, errc::value_too_large};
    return {written.out, errc{}};
}

to_chars_result to_chars(char* first, char* last, double value, chars_format format) {
    if (format != chars_format::scientific) return {last, errc::invalid_argument};
    char text[longestShortest];
    return copyOut(first, last, text, shortestScientific(text, value));
}

from_chars_result from_chars(const char* first, const char* last, double& value, chars_format format) {
    fast_float::chars_format form{};
    if (!fastFloatFormat(format, form)) return {first, errc::invalid_argument};
    double result = 0.0;
    const auto [stop, error] = fast_float::from_chars(first, last, result, form);
    if (error != errc{}) return {first, error};
    if (outOfRange(first, stop, result)) return {stop, errc::result_out_of_range};
    value = result;
    return {stop, errc{}};
}

}  // namespace std

#endif
