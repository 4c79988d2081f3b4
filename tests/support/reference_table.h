// Reading tables of high-precision reference values, committed next to the generator
// that made them. One case per line, blank-separated:
//     name  input-parts...  expected-re  expected-im
// Every number is a double written exactly, as Python's float.hex() writes it
// ("0x1.8p+1", "-0x0.0p+0"), or "inf", "-inf", "nan". Lines starting with # are comments.
#pragma once

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/complex.h"

namespace kx::test {

struct ReferenceCase {
    std::string function;
    std::vector<double> inputs;  // the argument's parts (re, im), then a second argument's
    Complex expected;
    int line;
};

inline double parseExactDouble(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+')) text.remove_prefix(1);
    double magnitude = 0.0;
    if (text == "inf") {
        magnitude = std::numeric_limits<double>::infinity();
    } else if (text == "nan") {
        magnitude = std::numeric_limits<double>::quiet_NaN();
    } else {
        if (text.starts_with("0x")) text.remove_prefix(2);
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude,
                                               std::chars_format::hex);
        if (ec != std::errc() || end != text.data() + text.size())
            throw std::runtime_error("bad number in reference table: " + std::string(text));
    }
    return negative ? -magnitude : magnitude;
}

// All cases of the table at path; throws when the file is missing or malformed.
inline std::vector<ReferenceCase> loadReferenceTable(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot open reference table " + path);
    std::vector<ReferenceCase> cases;
    std::string text;
    for (int lineNumber = 1; std::getline(file, text); ++lineNumber) {
        if (text.empty() || text.front() == '#') continue;
        std::istringstream fields(text);
        ReferenceCase entry{{}, {}, {}, lineNumber};
        fields >> entry.function;
        std::vector<double> numbers;
        for (std::string field; fields >> field;) numbers.push_back(parseExactDouble(field));
        if (numbers.size() < 4 || numbers.size() % 2 != 0)
            throw std::runtime_error("bad reference line " + std::to_string(lineNumber) + " in " + path);
        entry.expected = {numbers[numbers.size() - 2], numbers.back()};
        numbers.resize(numbers.size() - 2);
        entry.inputs = std::move(numbers);
        cases.push_back(std::move(entry));
    }
    return cases;
}

// Error of one computed part against the reference part, in units of the reference's
// last place (the spacing of doubles at the reference's magnitude; at least the smallest
// normal spacing). Equal infinities and two NaNs count as exact.
inline double ulpError(double computed, double reference) {
    if (std::isnan(reference) || std::isnan(computed))
        return std::isnan(reference) && std::isnan(computed) ? 0.0 : std::numeric_limits<double>::infinity();
    if (std::isinf(reference) || std::isinf(computed))
        return computed == reference ? 0.0 : std::numeric_limits<double>::infinity();
    const double spacing = std::max(std::ldexp(1.0, std::ilogb(reference == 0.0 ? std::numeric_limits<double>::min()
                                                                                 : reference) - 52),
                                    std::ldexp(1.0, -1074));
    return std::fabs(computed - reference) / spacing;
}

// Error judged against a scale: |computed - reference| in ulps of scale (for a part tiny
// next to the modulus, or for a normwise bound).
inline double ulpErrorRelativeTo(double computed, double reference, double scale) {
    if (std::isnan(reference) || std::isinf(reference) || std::isnan(computed) || std::isinf(computed))
        return ulpError(computed, reference);
    const double normalScale = std::max(std::fabs(scale), std::numeric_limits<double>::min());  // ilogb(0) is INT_MIN
    const double spacing = std::max(std::ldexp(1.0, std::ilogb(normalScale) - 52), std::ldexp(1.0, -1074));
    return std::fabs(computed - reference) / spacing;
}

}  // namespace kx::test
