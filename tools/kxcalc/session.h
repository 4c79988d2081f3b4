// A calculator session of the command-line host: lines in, texts out, through kx_calc.
#pragma once

#include <string>
#include <string_view>

namespace kxcalc {

struct Answer {
    std::string text;
    bool isMessage;  // an error message rather than a result
};

// Evaluates one line with kx_calc in a buffer large enough for both the line and any answer.
Answer evaluateLine(std::string_view line);

// A text that kx_calc wrote is an error message exactly when it begins with one of the
// library's message words; a result begins with a digit, a sign, "i", "inf" or "nan".
bool isMessage(std::string_view text);

}  // namespace kxcalc
