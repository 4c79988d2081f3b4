// The evaluator's message texts, each written once. Note the case of "error"/"Error".
#pragma once

#include <string_view>

namespace kx::messages {

inline constexpr std::string_view parseError = "Parse Error: ";              // + rest from the number
inline constexpr std::string_view bracketMisplaced = "Syntax error: ";       // + the bracket
inline constexpr std::string_view bracketUnmatched = "Syntax error.  Unmatched: ";  // + the bracket
inline constexpr std::string_view unknownToken = "Syntax Error: ";           // + rest after the token
inline constexpr std::string_view tooMuchData = "Syntax error: Too much data.";
inline constexpr std::string_view ranOutOfData = "Ran Out of Data";

}  // namespace kx::messages
