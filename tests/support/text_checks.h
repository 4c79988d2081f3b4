// Checks on the text that kx_calc leaves in the buffer, independent of the value: a text is
// either a well-formed result or one of the calculator's messages, and a message that quotes
// the line quotes a tail of the lowered line. Used by the fuzz target and the robustness tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kx::test {

// Whether text is a number as the result printer writes it: an optional "-", then "inf",
// or the "%.15g" form (at most 15 significant digits, no trailing zeros or point, fixed form
// for decimal exponents -4 to 14, otherwise one leading digit and an exponent "e", a sign
// and exactly three digits).
bool isResultNumber(std::string_view text);

// Whether text is a whole result: "0", "nan", "i", "-i", a real part alone, a real part
// followed by "+i", "-i" or a signed imaginary part and "i", or an imaginary part alone
// followed by "i". At most 45 characters.
bool isResultText(std::string_view text);

// Whether text is one of the calculator's messages for the (already lowered) line: a fixed
// message, a bracket message with one bracket character, or a message that quotes the rest of
// the line, the whole message cut to 63 characters.
bool isMessageText(std::string_view text, std::string_view loweredLine);

// The line as the calculator sees it after lowering: A to Z become a to z, nothing else changes.
std::string lowered(std::string_view line);

// Whether the line, once lowered, is an assignment: it begins with "set " and holds an "=".
bool assigns(std::string_view line);

// Why the text cannot be the calculator's answer to the line, or nothing when it can be.
std::optional<std::string> explainBadText(std::string_view text, std::string_view line);

}  // namespace kx::test
