#include "entry/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kx {
namespace {

// std::to_chars writes at least two exponent digits (1e+20); the calculator's form has
// exactly three, the most a double needs.
char* widenExponent(char* begin, char* end) {
    char* mark = std::find(begin, end, 'e');
    if (mark == end) return end;
    char* digits = mark + 2;  // past the exponent's sign
    const auto count = end - digits;
    if (count >= 3) return end;
    const auto padding = 3 - count;
    std::memmove(digits + padding, digits, static_cast<std::size_t>(count));
    std::fill_n(digits, padding, '0');
    return end + padding;
}

}  // namespace

char* formatNumber(char* out, double value, SignStyle sign) {
    if (sign == SignStyle::Always && !std::signbit(value)) *out++ = '+';
    if (std::isnan(value)) {  // the sign of a NaN is not shown
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    char* end = std::to_chars(out, out + maxNumberLength, value, std::chars_format::general, 15).ptr;
    return widenExponent(out, end);
}

}  // namespace kx
