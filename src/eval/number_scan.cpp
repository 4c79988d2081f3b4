#include "eval/number_scan.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "eval/char_class.h"

namespace kx {
namespace {

const char* skipDigits(const char* p) {
    while (isDigit(*p)) ++p;
    return p;
}

// The literal split into its pieces, as the scanner found them.
struct Literal {
    const char* begin;
    const char* mantissaEnd;  // end of digits [. digits]
    const char* end;          // end of the whole literal, exponent included
};

// The decimal exponent of the literal's leading significant digit, plus one: 3 for
// 123.4, 0 for 0.5, -2 for 0.005, with the written exponent added. When the conversion
// leaves the double range this tells which way (above 308 or below -323), so a coarse,
// saturating count decides safely. An all-zero mantissa is exactly 0.
bool overflows(const Literal& literal) {
    const char* point = std::find(literal.begin, literal.mantissaEnd, '.');
    const char* first = std::find_if(literal.begin, literal.mantissaEnd,
                                     [](char c) { return c != '0' && c != '.'; });
    if (first == literal.mantissaEnd) return false;
    std::int64_t magnitude = first < point ? point - first : -(first - point - 1);
    if (literal.end != literal.mantissaEnd) {
        const char* e = literal.mantissaEnd + 1;  // past the exponent letter
        const bool negative = *e == '-';
        if (*e == '+' || *e == '-') ++e;
        constexpr std::int64_t saturation = std::int64_t{1} << 40;
        std::int64_t exponent = 0;
        for (; e < literal.end; ++e) exponent = std::min(saturation, exponent * 10 + (*e - '0'));
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude > 0;
}

// The digits of a literal as one integer, read in the same pass that finds their end.
// Exact while there are at most 19 of them (10^19 < 2^64); a longer run wraps around, and
// its count tells the conversion not to use it.
struct Mantissa {
    std::uint64_t digits = 0;
    long count = 0;           // digits read, leading zeros included
    long fractionDigits = 0;  // of them, those after the point
};

// The common literal, converted without the general routine: when its digits make an
// integer m of at most 2^53 and its decimal exponent k is at most 22 in magnitude, both
// m and 10^|k| are exact doubles, so the one IEEE multiplication or division by 10^|k|
// is the correctly rounded value. False for any other literal.
bool convertExactly(const Literal& literal, const Mantissa& mantissa, double& value) {
    constexpr long maxExactDigits = 19;
    if (mantissa.count > maxExactDigits || mantissa.digits > (std::uint64_t{1} << 53)) return false;
    long exponent = -mantissa.fractionDigits;
    if (literal.end != literal.mantissaEnd) {
        const char* e = literal.mantissaEnd + 1;  // past the exponent letter
        const bool negative = *e == '-';
        if (*e == '+' || *e == '-') ++e;
        if (literal.end - e > 3) return false;
        int written = 0;
        for (; e < literal.end; ++e) written = written * 10 + (*e - '0');
        exponent += negative ? -written : written;
    }
    if (exponent < -22 || exponent > 22) return false;
    const double digits = static_cast<double>(mantissa.digits);
    using scanning::exactPowersOfTen;
    value = exponent >= 0 ? digits * exactPowersOfTen[exponent] : digits / exactPowersOfTen[-exponent];
    return true;
}

// The general conversion: kept out of line, so that the common path stays small.
[[gnu::noinline]] double convert(const Literal& literal) {
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(literal.begin, literal.end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        return overflows(literal) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

// from_chars knows only e as the exponent letter: the literal is converted from a copy
// with its d replaced, on the stack for any literal of ordinary length.
[[gnu::noinline]] double convertWithLetterE(const Literal& literal) {
    const auto length = static_cast<std::size_t>(literal.end - literal.begin);
    const auto letterAt = static_cast<std::size_t>(literal.mantissaEnd - literal.begin);
    const auto convertCopy = [&](char* copy) {
        std::copy(literal.begin, literal.end, copy);
        copy[letterAt] = 'e';
        return convert(Literal{copy, copy + letterAt, copy + length});
    };
    constexpr std::size_t onStack = 256;
    if (length <= onStack) {
        char copy[onStack];
        return convertCopy(copy);
    }
    std::string copy(length, '\0');  // hundreds of digits: rare enough to allocate
    return convertCopy(copy.data());
}

}  // namespace

ScannedNumber scanning::finishNumber(const char* text, const char* mantissaEnd, std::uint64_t digits, long count,
                                    long fractionDigits) {
    if (count == 0) return {0.0, text};  // a full stop alone is no literal
    const Mantissa mantissa{digits, count, fractionDigits};
    Literal literal{text, mantissaEnd, mantissaEnd};
    if (*mantissaEnd == 'e' || *mantissaEnd == 'd') {
        const char* q = mantissaEnd + 1;
        if (*q == '+' || *q == '-') ++q;
        if (isDigit(*q)) literal.end = skipDigits(q);
    }
    double value;
    if (convertExactly(literal, mantissa, value)) return {value, literal.end};
    if (literal.end != literal.mantissaEnd && *literal.mantissaEnd == 'd') {
        return {convertWithLetterE(literal), literal.end};
    }
    return {convert(literal), literal.end};
}

}  // namespace kx
