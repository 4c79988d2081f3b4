// The grammar of a result text, recognised from the left:
//   result    = "nan" | number [signed-im] | imaginary
//   number    = ["-"] ("inf" | digits ["." digits] ["e" ("+" | "-") digits])
//   signed-im = ("+" | "-") [unsigned] "i"       (no unsigned part: a unit, "+i" or "-i")
//   imaginary = ["-"] [unsigned] "i"
#include "result_text.h"

#include <charconv>
#include <limits>

namespace kxcalc::python {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the digits at the start of text.
std::size_t digitRun(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && isDigit(text[length])) ++length;
    return length;
}

// The length of an unsigned number at the start of text, 0 when there is none.
std::size_t unsignedLength(std::string_view text) {
    if (text.starts_with("inf")) return 3;
    std::size_t length = digitRun(text);
    if (length == 0) return 0;
    if (length < text.size() && text[length] == '.') {
        const std::size_t fraction = digitRun(text.substr(length + 1));
        if (fraction == 0) return 0;
        length += 1 + fraction;
    }
    if (length + 1 < text.size() && text[length] == 'e' && (text[length + 1] == '+' || text[length + 1] == '-')) {
        const std::size_t exponent = digitRun(text.substr(length + 2));
        if (exponent == 0) return 0;
        length += 2 + exponent;
    }
    return length;
}

// The value of a number that unsignedLength accepted, with an optional sign before it.
double numberValue(std::string_view text) {
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+') text.remove_prefix(1);
    double magnitude = std::numeric_limits<double>::infinity();
    if (text != "inf") std::from_chars(text.data(), text.data() + text.size(), magnitude);
    return negative ? -magnitude : magnitude;
}

// The value of an imaginary part: a signed or unsigned number, or a bare sign (a unit).
double imaginaryValue(std::string_view signedNumber) {
    if (signedNumber.empty() || signedNumber == "+") return 1.0;
    if (signedNumber == "-") return -1.0;
    return numberValue(signedNumber);
}

// The length of an optional sign and an optional unsigned number at the start of text.
std::size_t signedLength(std::string_view text, bool signRequired) {
    const std::size_t sign = !text.empty() && (text[0] == '-' || (signRequired && text[0] == '+')) ? 1 : 0;
    if (signRequired && sign == 0) return std::string_view::npos;
    return sign + unsignedLength(text.substr(sign));
}

}  // namespace

bool readResult(std::string_view text, ResultValue* value) {
    ResultValue read;
    if (text == "nan") {
        read.re = std::numeric_limits<double>::quiet_NaN();
    } else if (text.ends_with('i')) {
        const std::string_view body = text.substr(0, text.size() - 1);
        const std::size_t first = signedLength(body, false);
        const bool hasNumber = first > 0 && !(first == 1 && body[0] == '-');
        if (first == body.size()) {  // an imaginary part alone: "2i", "i", "-i"
            read.im = imaginaryValue(body);
        } else if (hasNumber) {      // a real part, then a signed imaginary part
            const std::size_t second = signedLength(body.substr(first), true);
            if (second != body.size() - first) return false;
            read.re = numberValue(body.substr(0, first));
            read.im = imaginaryValue(body.substr(first));
        } else {
            return false;
        }
    } else {
        const std::size_t length = signedLength(text, false);
        if (length != text.size() || length == 0 || text == "-") return false;
        read.re = numberValue(text);
    }
    if (value != nullptr) *value = read;
    return true;
}

}  // namespace kxcalc::python
