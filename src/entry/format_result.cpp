// A part is printed only when its magnitude is strictly greater than the tolerance;
// a unit imaginary part is tested before the tolerance and printed as i or -i. A part
// that is not a number is never printed. When neither part is printed the text is "0",
// or "nan" when a part is not a number: a failed computation must not read as zero.
#include "entry/format_result.h"

#include <cmath>
#include <cstring>

#include "entry/number_format.h"

namespace kx {
namespace {

char* append(char* out, const char* text) {
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

char* writeWithRealPart(char* out, Complex value, double tolerance) {
    out = formatNumber(out, value.re, SignStyle::Negative);
    if (value.im == 1.0) return append(out, "+i");
    if (value.im == -1.0) return append(out, "-i");
    if (std::fabs(value.im) > tolerance) {
        out = formatNumber(out, value.im, SignStyle::Always);
        *out++ = 'i';
    }
    return out;
}

char* writeWithoutRealPart(char* out, Complex value, double tolerance) {
    if (value.im == 1.0) return append(out, "i");
    if (value.im == -1.0) return append(out, "-i");
    if (std::fabs(value.im) > tolerance) {
        out = formatNumber(out, value.im, SignStyle::Negative);
        *out++ = 'i';
        return out;
    }
    return append(out, std::isnan(value.re) || std::isnan(value.im) ? "nan" : "0");
}

}  // namespace

char* formatResult(char* out, Complex value, double tolerance) {
    char* end = std::fabs(value.re) > tolerance ? writeWithRealPart(out, value, tolerance)
                                                : writeWithoutRealPart(out, value, tolerance);
    *end = '\0';
    return end;
}

}  // namespace kx
