#include "support/text_checks.h"

#include <algorithm>
#include <array>

namespace kx::test {
namespace {

constexpr std::size_t maxMessageLength = 63;
constexpr std::size_t maxResultLength = 45;
constexpr int maxSignificantDigits = 15;

bool isDigitChar(char c) { return c >= '0' && c <= '9'; }

std::size_t countDigits(std::string_view text) {
    return static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), isDigitChar) - text.begin());
}

// A fraction as "%.15g" leaves it: at least one digit, the last one not a zero.
bool isTrimmedFraction(std::string_view digits) {
    return !digits.empty() && countDigits(digits) == digits.size() && digits.back() != '0';
}

// d[.ddd]e(+|-)ddd with a nonzero leading digit and an exponent outside the fixed range.
bool isExponentForm(std::string_view text) {
    const std::size_t mark = text.find('e');
    if (mark == std::string_view::npos) return false;
    const std::string_view mantissa = text.substr(0, mark);
    const std::string_view exponent = text.substr(mark + 1);
    if (mantissa.empty() || mantissa[0] < '1' || mantissa[0] > '9') return false;
    if (mantissa.size() > 1) {
        if (mantissa[1] != '.' || !isTrimmedFraction(mantissa.substr(2))) return false;
        if (mantissa.size() - 1 > maxSignificantDigits) return false;  // the point is not a digit
    }
    if (exponent.size() != 4 || (exponent[0] != '+' && exponent[0] != '-')) return false;
    if (countDigits(exponent.substr(1)) != 3) return false;
    const int magnitude = std::stoi(std::string(exponent.substr(1)));
    const int value = exponent[0] == '-' ? -magnitude : magnitude;
    return (value < -4 && value >= -324) || (value >= 15 && value <= 308);
}

// Digits with an optional trimmed fraction, the decimal exponent from -4 to 14.
bool isFixedForm(std::string_view text) {
    const std::size_t whole = countDigits(text);
    if (whole == 0 || whole > static_cast<std::size_t>(maxSignificantDigits)) return false;
    if (whole > 1 && text[0] == '0') return false;
    if (whole == text.size()) return true;
    if (text[whole] != '.' || !isTrimmedFraction(text.substr(whole + 1))) return false;
    const std::string_view fraction = text.substr(whole + 1);
    if (text[0] != '0') return whole + fraction.size() <= static_cast<std::size_t>(maxSignificantDigits);
    const std::size_t leadingZeros = fraction.find_first_not_of('0');
    if (leadingZeros > 3) return false;  // 0.0000x is written in the exponent form
    return fraction.size() - leadingZeros <= static_cast<std::size_t>(maxSignificantDigits);
}

bool isUnsignedNumber(std::string_view text) {
    return text == "inf" || isFixedForm(text) || isExponentForm(text);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A message that quotes the line: the fixed words, then a tail of the lowered line, all cut
// to 63 characters. An empty tail is allowed (the message then ends with its blank).
bool quotesTail(std::string_view text, std::string_view fixed, std::string_view line) {
    if (!startsWith(text, fixed)) return false;
    const std::string_view quoted = text.substr(fixed.size());
    if (text.size() < maxMessageLength) return line.ends_with(quoted);
    return line.find(quoted) != std::string_view::npos;  // cut: the quote starts a tail
}

}  // namespace

bool isResultNumber(std::string_view text) {
    if (startsWith(text, "-")) text.remove_prefix(1);
    return isUnsignedNumber(text);
}

bool isResultText(std::string_view text) {
    if (text.empty() || text.size() > maxResultLength) return false;
    if (text == "0" || text == "nan" || text == "i" || text == "-i") return true;
    if (isResultNumber(text)) return true;
    if (text.back() != 'i') return false;
    const std::string_view body = text.substr(0, text.size() - 1);
    if (isResultNumber(body)) return true;  // an imaginary part alone
    // A real part, then a signed imaginary part; the sign is the last + or - not in an exponent.
    for (std::size_t split = body.size(); split-- > 1;) {
        if (body[split] != '+' && body[split] != '-') continue;
        if (body[split - 1] == 'e') continue;
        const std::string_view real = body.substr(0, split);
        const std::string_view imaginary = body.substr(split + 1);
        return isResultNumber(real) && (imaginary.empty() || isUnsignedNumber(imaginary));
    }
    return false;
}

bool isMessageText(std::string_view text, std::string_view loweredLine) {
    static constexpr std::array<std::string_view, 4> fixedMessages{
        "Syntax error: Too much data.", "Ran Out of Data", "Syntax error: Missing variable name.",
        "Out of memory."};
    if (std::find(fixedMessages.begin(), fixedMessages.end(), text) != fixedMessages.end()) return true;
    if (text.size() > maxMessageLength) return false;
    const auto isBracketMessage = [&](std::string_view fixed, std::string_view brackets) {
        return text.size() == fixed.size() + 1 && startsWith(text, fixed) &&
               brackets.find(text.back()) != std::string_view::npos;
    };
    if (isBracketMessage("Syntax error: ", "([{)]}")) return true;
    if (isBracketMessage("Syntax error.  Unmatched: ", ")]}")) return true;
    if (quotesTail(text, "Parse Error: ", loweredLine)) {
        const char first = text.size() > 13 ? text[13] : '\0';
        return isDigitChar(first) || first == '.';  // the quote starts at the number
    }
    return quotesTail(text, "Syntax Error: ", loweredLine);
}

std::string lowered(std::string_view line) {
    std::string text(line);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool assigns(std::string_view line) {
    const std::string text = lowered(line);
    return startsWith(text, "set ") && text.find('=', 4) != std::string::npos;
}

std::optional<std::string> explainBadText(std::string_view text, std::string_view line) {
    if (isResultText(text)) return std::nullopt;
    if (isMessageText(text, lowered(line))) return std::nullopt;
    return "neither a result nor a message: \"" + std::string(text) + "\"";
}

}  // namespace kx::test
